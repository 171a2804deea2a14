// kvlRES: reading rows as text, storing and replaying them, further result sets, and
// giving the slot back.

#include <algorithm>
#include <limits>

#include "../server/SessionImpl.h"
#include "ResultImpl.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

// Beyond this a long value does not make the column's first read larger.
constexpr int64_t kMaiorLeituraGuardada = 64 * 1024;

}  // namespace

kvlRES::Impl::Impl(kvlRES& result) : self(result) {
    // Room for a few columns from the start: most results then never reallocate.
    Colunas.reserve(4);
    Colunas.emplace_back();
}

kvlRES::kvlRES() : impl_(std::make_unique<Impl>(*this)) {}

kvlRES::~kvlRES() {
    try {
        Liberta();
    } catch (...) {
    }
}

void kvlRES::Impl::Hold(SlotLease l) {
    lease = std::move(l);
    self.Indice = lease.index();
    self.hConn = lease.conn();
    self.hStmt = lease.stmt();
}

void kvlRES::Impl::GiveBack(bool rowsLeft) {
    // No later command on the slot may write into this result set's buffers.
    if (tipadas) tipadas->Unbind();
    lease.Release(rowsLeft);
    self.Indice = 0;
}

odbc::Api& kvlRES::Impl::Api() const {
    odbc::Api* api = proprio ? proprio->api() : lease.api();
    if (!api) throw Error(kObjectNotSet);
    return *api;
}

const Variant& kvlRES::Col(int16_t nIndex) const {
    return impl().C(nIndex).Valor;
}

bool kvlRES::ColSeNull(int16_t nIndex) const {
    return impl().C(nIndex).SeNull;
}

void kvlRES::Impl::LogFim() {
    const auto& Pai = self.Pai;
    if (!Pai || !Pai->Log) return;
    Pai->HistoriaAdd("Set de Resultados",
                     std::to_string(self.Ress) + " (i " + std::to_string(self.Indice) + ") fin");
    uint32_t elapsed =
        static_cast<uint32_t>(kvlSERV::Milissegundos()) - static_cast<uint32_t>(self.Tempos);
    Pai->HistoriaAdd("Tempo", std::to_string(elapsed), true);
}

bool kvlRES::Impl::RepeteAposFalha(std::string_view DeOnde) {
    kvlSERV* session = lease.session();
    if (!session) return false;
    kvlSERV::Impl& e = session->impl();
    e.lastReturn = Retorno;
    Decision d = e.Check(Retorno, self.ActCom, self.hConn, self.hStmt, DeOnde);
    self.ErroN = session->ErroN;
    self.ErroD = session->ErroD;
    bool again = e.Follow(d);
    // A link re-established under this result set succeeded, but its rows are lost.
    bool vivo = SlotVivo();
    self.erro = session->erro || !vivo;
    return again && vivo;
}

odbc::Return kvlRES::Impl::Busca() {
    // Rows that ended, or a command without any, leave nothing to ask the driver for.
    if (!comLinhas) return Retorno = odbc::kNoData;
    const odbc::Cursor cursor(Api(), self.hStmt);
    for (;;) {
        if (cursor.Fetch(Retorno) != odbc::Fetched::kFailed) return Retorno;
        // Without columns there is no cursor to fetch from, and that failure is only the
        // end. Any other fetch that fails is reported like a failed command, never taken
        // for the end of the rows.
        if (self.Cols <= 0) return Retorno;
        if (!RepeteAposFalha("SQLFetch")) return Retorno;
    }
}

bool kvlRES::TemLinhas() {
    Impl& e = impl();
    if (e.leitura == Impl::Leitura::kTipada) throw Error(kInvalidCall);
    e.leitura = Impl::Leitura::kTexto;
    bool vivo = Armazenou || e.SlotVivo();
    if (Armazenou) {
        e.Retorno = Lins < TotLins ? odbc::kSuccess : odbc::kError;
    } else {
        // No slot, or one its session has given up: no rows, and no call on its handle.
        e.Retorno = vivo ? e.Busca() : odbc::kError;
    }
    if (odbc::Succeeded(e.Retorno)) {
        ProximaLinha();
        if (odbc::Succeeded(e.Retorno)) return true;
        // A value the driver failed to give: the row is not delivered.
        --Lins;
        e.RepeteAposFalha("SQLGetData");
    }
    // The error check may have re-established the link under this result set.
    vivo = Armazenou || e.SlotVivo();
    TotLins = Lins;
    if (Armazena && !Armazenou) {
        Armazenou = true;
        // Every row is in memory: the statement is not needed any more.
        e.GiveBack(false);
    }
    e.comLinhas = false;
    if (vivo) e.LogFim();
    return false;
}

bool kvlRES::Impl::LeValor(Coluna& c, uint16_t n, const odbc::Cursor& cursor) {
    if (c.Leitura < 2) ReservaLeitura(c, 0, false);  // a column never described
    std::string& value = c.Valor.Text();
    odbc::ValueRead read = cursor.ReadWhole(n, odbc::kCharData, recepcao.data(), c.Leitura, value);
    Retorno = read.rc;
    if (!odbc::Succeeded(Retorno)) return false;
    // NULL and the empty text read alike.
    c.SeNull = value.empty();
    // Later rows of this column start with room for a value this long.
    if (value.size() + 2 > static_cast<size_t>(c.Leitura) &&
        value.size() < static_cast<size_t>(kMaiorLeituraGuardada)) {
        c.Leitura = static_cast<int32_t>(value.size()) + 2;
        if (recepcao.size() < static_cast<size_t>(c.Leitura)) recepcao.resize(c.Leitura);
    }
    return true;
}

void kvlRES::ProximaLinha() {
    if (Lins == std::numeric_limits<int32_t>::max()) throw Error(kOverflow);
    ++Lins;
    Impl& e = impl();
    if (Cols >= static_cast<int32_t>(e.Colunas.size())) throw Error(kSubscriptOutOfRange);
    if (Armazenou) return e.ReplayLinha();
    const odbc::Cursor cursor(e.Api(), hStmt);
    for (int16_t n = 1; n <= Cols; ++n) {
        if (!e.LeValor(e.Colunas[n], static_cast<uint16_t>(n), cursor)) return;
    }
    if (Armazena) ProximaLinhaRegista();
}

void kvlRES::Impl::ReplayLinha() {
    const int32_t Lins = self.Lins;
    // Rows read before storing was asked for replay as empty values.
    RowStore::Reader row =
        Registos && Lins <= Registos->Rows() ? Registos->Row(Lins) : RowStore::Reader();
    for (int16_t n = 1; n <= self.Cols; ++n) {
        bool isNull = false;
        std::string_view stored = row.Next(isNull);
        Coluna& c = Colunas[n];
        c.Valor.AssignString(stored.data(), stored.size());
        c.SeNull = stored.empty() && isNull;
    }
}

void kvlRES::ProximaLinhaRegista() {
    Impl& e = impl();
    if (!e.Registos) e.Registos = std::make_unique<RowStore>();
    e.Registos->Store(Lins, e.Colunas);
}

int32_t kvlRES::CarregaTudo(std::optional<Variant>) {
    Armazena = true;
    while (TemLinhas()) {
    }
    Lins = 0;
    return TotLins;
}

Variant kvlRES::ColReg(int32_t Linha, int16_t Coluna) const {
    const auto& Registos = impl().Registos;
    if (!Registos) throw Error(kSubscriptOutOfRange);
    bool isNull = false;
    std::string_view v = Registos->Value(Linha, Coluna, isNull);
    return Variant(std::string(v));
}

void kvlRES::Col(int16_t nIndex, const Variant& value) {
    impl().C(nIndex).Valor = value;
}

void kvlRES::PopLinha() {
    Impl& e = impl();
    e.LinhaPop.assign(e.Colunas.begin(), e.Colunas.end());
}

void kvlRES::PushLinha() {
    Impl& e = impl();
    // The row set aside must have been taken on a result of the same shape.
    if (e.LinhaPop.size() != e.Colunas.size()) throw Error(kSubscriptOutOfRange);
    e.LinhaPush.assign(e.Colunas.begin(), e.Colunas.end());
    e.Colunas = e.LinhaPop;
}

void kvlRES::ReloadLinha() {
    Impl& e = impl();
    if (e.LinhaPush.size() != e.Colunas.size()) throw Error(kSubscriptOutOfRange);
    e.Colunas = e.LinhaPush;
}

bool kvlRES::MaisResultados(std::optional<bool> ComAnalise) {
    Impl& e = impl();
    if (!e.SlotVivo()) return false;
    e.ReiniciaLeitura();
    e.Retorno = e.Api().MoreResults(hStmt);
    if (e.Retorno == odbc::kNoData) {
        e.comLinhas = false;  // the driver closed the cursor: no row is left to fetch
        return false;
    }
    Lins = 0;
    e.Descreve(ComAnalise.value_or(SqlAnalisaColunas), false);
    return true;
}

bool kvlRES::ComLinhas(std::optional<Variant> SimOuNão) {
    if (SimOuNão) impl().comLinhas = SimOuNão->ToBool();
    return impl().comLinhas;
}

void kvlRES::Liberta() {
    Impl& e = impl();
    if (Indice < 1) return;
    if (e.SlotVivo()) {
        bool restam = e.leitura == Impl::Leitura::kTipada ? e.tipadas->RowsLeft() : TemLinhas();
        if (Indice < 1) return;  // reaching the end of a storing result gave the slot back
        e.GiveBack(restam);
    }
    // A slot its session has given up is not this result set's to return.
    e.lease = SlotLease();
    Indice = 0;
}

}  // namespace kvl
