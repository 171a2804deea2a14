// kvlRES: reading rows as text, storing and replaying them, further result sets, and
// giving the slot back.

#include <algorithm>
#include <limits>

#include "RowStore.h"
#include "kvl/Error.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

// Beyond this a long value does not make the column's first read larger.
constexpr int64_t kMaiorLeituraGuardada = 64 * 1024;

}  // namespace

kvlRES::kvlRES() {
    // Room for a few columns from the start: most results then never reallocate.
    Colunas.reserve(4);
    Colunas.emplace_back();
}

kvlRES::~kvlRES() {
    try {
        Liberta();
    } catch (...) {
    }
}

odbc::Api& kvlRES::Api() const {
    if (!lease_.api) throw Error(kObjectNotSet);
    return *lease_.api;
}

bool kvlRES::SlotVivo() const {
    // Pai, when it is the server that lent the slot, keeps it alive: no lock needed.
    if (Pai && Pai.get() == lease_.direct) return Pai->SlotVivo(Indice, lease_.generation);
    auto dono = lease_.owner.lock();
    return dono && dono->SlotVivo(Indice, lease_.generation);
}

void kvlRES::LogFim() {
    if (!Pai || !Pai->Log) return;
    Pai->HistoriaAdd("Set de Resultados",
                     std::to_string(Ress) + " (i " + std::to_string(Indice) + ") fin");
    uint32_t elapsed =
        static_cast<uint32_t>(kvlSERV::Milissegundos()) - static_cast<uint32_t>(Tempos);
    Pai->HistoriaAdd("Tempo", std::to_string(elapsed), true);
}

odbc::Return kvlRES::Busca() {
    // Rows that ended, or a command without any, leave nothing to ask the driver for.
    if (!comLinhas_) return Retorno = odbc::kNoData;
    odbc::Api& api = Api();
    for (;;) {
        Retorno = api.Fetch(hStmt);
        if (odbc::Succeeded(Retorno) || Retorno == odbc::kNoData) return Retorno;
        // Without columns there is no cursor to fetch from, and that failure is only the
        // end. Any other fetch that fails is reported like a failed command, never taken
        // for the end of the rows.
        if (Cols <= 0) return Retorno;
        auto dono = lease_.owner.lock();
        if (!dono || !dono->RepeteAposFalha(*this, "SQLFetch")) return Retorno;
    }
}

bool kvlRES::TemLinhas() {
    bool vivo = Armazenou || SlotVivo();
    if (Armazenou) {
        Retorno = Lins < TotLins ? odbc::kSuccess : odbc::kError;
    } else {
        // No slot, or one its session has given up: no rows, and no call on its handle.
        Retorno = vivo ? Busca() : odbc::kError;
    }
    if (odbc::Succeeded(Retorno)) {
        ProximaLinha();
        if (odbc::Succeeded(Retorno)) return true;
        // A value the driver failed to give: the row is not delivered.
        --Lins;
        auto dono = lease_.owner.lock();
        if (dono) dono->RepeteAposFalha(*this, "SQLGetData");
    }
    // The error check may have re-established the link under this result set.
    vivo = Armazenou || SlotVivo();
    TotLins = Lins;
    if (Armazena && !Armazenou) {
        Armazenou = true;
        // Every row is in memory: the statement is not needed any more.
        if (Pai && Indice >= 1) {
            if (vivo) {
                Pai->TemLinhas(Variant(false));
                Pai->StackLiberta(Indice);
            }
            Indice = 0;
        }
    }
    comLinhas_ = false;
    if (vivo) LogFim();
    return false;
}

bool kvlRES::LeValor(Coluna& c, uint16_t n, odbc::Api& api) {
    if (c.Leitura < 2) ReservaLeitura(c, 0, false);  // a column never described
    int64_t room = c.Leitura;
    char* area = recepcao_.data();
    int64_t k = 0;
    Retorno = api.GetData(hStmt, n, area, room, k);
    if (!odbc::Succeeded(Retorno) || (k < 1 && k != odbc::kNoTotal)) {
        // NULL and the empty text read alike; so does a value the driver failed to give.
        c.Valor.AssignString("", 0);
        c.SeNull = true;
        return odbc::Succeeded(Retorno) || Retorno == odbc::kNoData;
    }
    c.SeNull = false;
    bool longo = k == odbc::kNoTotal || k > room - 1;
    auto got = static_cast<size_t>(longo ? room - 1 : k);
    if (Retorno == odbc::kSuccess || !longo) {
        c.Valor.AssignString(area, got);
        return true;
    }
    // Longer than the room: the rest is read on, straight into the value, until it ends.
    std::string& value = c.Valor.Text();
    value.assign(area, got);
    for (int64_t left = k - static_cast<int64_t>(got);;) {
        size_t at = value.size();
        size_t more = left > 0 ? static_cast<size_t>(left) : std::max<size_t>(at, 4096);
        value.resize(at + more);
        Retorno = api.GetData(hStmt, n, value.data() + at, static_cast<int64_t>(more) + 1, k);
        got = !odbc::Succeeded(Retorno) ? 0
              : k >= 0                  ? std::min(static_cast<size_t>(k), more)
                                        : more;
        value.resize(at + got);
        if (Retorno == odbc::kNoData) Retorno = odbc::kSuccess;
        if (Retorno != odbc::kSuccessWithInfo || (k >= 0 && static_cast<size_t>(k) <= more)) break;
        left = k >= 0 ? k - static_cast<int64_t>(got) : 0;
    }
    // Later rows of this column start with room for a value this long.
    if (value.size() < static_cast<size_t>(kMaiorLeituraGuardada) &&
        value.size() + 2 > static_cast<size_t>(c.Leitura)) {
        c.Leitura = static_cast<int32_t>(value.size()) + 2;
        if (recepcao_.size() < static_cast<size_t>(c.Leitura)) recepcao_.resize(c.Leitura);
    }
    return odbc::Succeeded(Retorno);
}

void kvlRES::ProximaLinha() {
    if (Lins == std::numeric_limits<int32_t>::max()) throw Error(kOverflow);
    ++Lins;
    if (Cols >= static_cast<int32_t>(Colunas.size())) throw Error(kSubscriptOutOfRange);
    if (Armazenou) return ReplayLinha();
    odbc::Api& api = Api();
    for (int16_t n = 1; n <= Cols; ++n) {
        if (!LeValor(Colunas[n], static_cast<uint16_t>(n), api)) return;
    }
    if (Armazena) ProximaLinhaRegista();
}

void kvlRES::ReplayLinha() {
    // Rows read before storing was asked for replay as empty values.
    RowStore::Reader row =
        Registos && Lins <= Registos->Rows() ? Registos->Row(Lins) : RowStore::Reader();
    for (int16_t n = 1; n <= Cols; ++n) {
        bool isNull = false;
        std::string_view stored = row.Next(isNull);
        Coluna& c = Colunas[n];
        c.Valor.AssignString(stored.data(), stored.size());
        c.SeNull = stored.empty() && isNull;
    }
}

void kvlRES::ProximaLinhaRegista() {
    if (!Registos) Registos = std::make_unique<RowStore>();
    Registos->Store(Lins, Colunas);
}

int32_t kvlRES::CarregaTudo(std::optional<Variant>) {
    Armazena = true;
    while (TemLinhas()) {
    }
    Lins = 0;
    return TotLins;
}

Variant kvlRES::ColReg(int32_t Linha, int16_t Coluna) const {
    if (!Registos) throw Error(kSubscriptOutOfRange);
    bool isNull = false;
    std::string_view v = Registos->Value(Linha, Coluna, isNull);
    return Variant(std::string(v));
}

void kvlRES::Col(int16_t nIndex, const Variant& value) {
    C(nIndex).Valor = value;
}

void kvlRES::PopLinha() {
    LinhaPop.assign(Colunas.begin(), Colunas.end());
}

void kvlRES::PushLinha() {
    // The row set aside must have been taken on a result of the same shape.
    if (LinhaPop.size() != Colunas.size()) throw Error(kSubscriptOutOfRange);
    LinhaPush.assign(Colunas.begin(), Colunas.end());
    Colunas = LinhaPop;
}

void kvlRES::ReloadLinha() {
    if (LinhaPush.size() != Colunas.size()) throw Error(kSubscriptOutOfRange);
    Colunas = LinhaPush;
}

bool kvlRES::MaisResultados(std::optional<bool> ComAnalise) {
    if (!SlotVivo()) return false;
    Retorno = Api().MoreResults(hStmt);
    if (Retorno == odbc::kNoData) return false;
    Lins = 0;
    Descreve(ComAnalise.value_or(SqlAnalisaColunas), false);
    return true;
}

bool kvlRES::ComLinhas(std::optional<Variant> SimOuNão) {
    if (SimOuNão) comLinhas_ = SimOuNão->ToBool();
    return comLinhas_;
}

void kvlRES::Liberta() {
    if (Indice < 1) return;
    if (SlotVivo()) {
        bool restam = TemLinhas();
        if (Indice < 1) return;  // reaching the end of a storing result gave the slot back
        if (Pai) {
            Pai->TemLinhas(Variant(restam));
            Pai->StackLiberta(Indice);
        }
    }
    Indice = 0;  // a slot its session has given up is not this result set's to return
}

}  // namespace kvl
