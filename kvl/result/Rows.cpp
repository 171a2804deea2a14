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

kvlRES::kvlRES() = default;

kvlRES::~kvlRES() {
    try {
        Liberta();
    } catch (...) {
    }
}

odbc::Api& kvlRES::Api() const {
    if (!api_) throw Error(kObjectNotSet);
    return *api_;
}

bool kvlRES::SlotVivo() const {
    // Pai, when it is the server that lent the slot, keeps it alive: no lock needed.
    if (Pai && Pai.get() == donoDireto_) return Pai->SlotVivo(Indice, geracao_);
    auto dono = dono_.lock();
    return dono && dono->SlotVivo(Indice, geracao_);
}

void kvlRES::LogFim() {
    if (!Pai || !Pai->Log) return;
    Pai->HistoriaAdd("Set de Resultados",
                     std::to_string(Ress) + " (i " + std::to_string(Indice) + ") fin");
    uint32_t elapsed =
        static_cast<uint32_t>(kvlSERV::Milissegundos()) - static_cast<uint32_t>(Tempos);
    Pai->HistoriaAdd("Tempo", std::to_string(elapsed), true);
}

bool kvlRES::TemLinhas() {
    bool vivo = Armazenou || SlotVivo();
    if (Armazenou) {
        Retorno = Lins < TotLins ? odbc::kSuccess : odbc::kError;
    } else {
        // No slot, or one its session has given up: no rows, and no call on its handle.
        Retorno = vivo ? Api().Fetch(hStmt) : odbc::kError;
    }
    if (odbc::Succeeded(Retorno)) {
        ProximaLinha();
        return true;
    }
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
    ComLinhas(Variant(false));
    if (vivo) LogFim();
    return false;
}

void kvlRES::LeValor(Coluna& c, uint16_t n, odbc::Api& api) {
    int64_t k = 0;
    // The driver gets the buffer's room, never more than was allocated.
    int64_t room = std::min<int64_t>(int64_t{c.Len} + 2, static_cast<int64_t>(c.Buffer.size()));
    Retorno = api.GetData(hStmt, n, c.Buffer.data(), room, k);
    if (k < 1) {
        c.Valor.AssignString("", 0);
        c.SeNull = true;
        return;
    }
    // The driver writes at most room - 1 bytes before its terminator; a longer value
    // is cut there, on a character boundary.
    size_t received = room > 1 ? static_cast<size_t>(room - 1) : 0;
    auto length = static_cast<size_t>(k);
    std::string_view text = length <= received
                                ? std::string_view(c.Buffer.data(), length)
                                : CorteUtf8(std::string_view(c.Buffer.data(), received), received);
    c.Valor.AssignString(text.data(), text.size());
    c.SeNull = false;
}

void kvlRES::ProximaLinha() {
    if (Lins == std::numeric_limits<int32_t>::max()) throw Error(kOverflow);
    ++Lins;
    if (Cols >= static_cast<int32_t>(Colunas.size())) throw Error(kSubscriptOutOfRange);
    odbc::Api* api = Armazenou ? nullptr : &Api();
    for (int16_t n = 1; n <= Cols; ++n) {
        Coluna& c = Colunas[n];
        if (api) {
            LeValor(c, static_cast<uint16_t>(n), *api);
            continue;
        }
        bool isNull = false;
        // Rows read before storing was asked for replay as empty values.
        std::string_view stored = Registos && Lins <= Registos->Rows()
                                      ? Registos->Value(Lins, n, isNull)
                                      : std::string_view();
        c.Valor.AssignString(stored.data(), stored.size());
        c.SeNull = stored.empty() && isNull;
    }
    if (Armazena && !Armazenou) ProximaLinhaRegista();
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

const Variant& kvlRES::Col(int16_t nIndex) const { return C(nIndex).Valor; }

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
    bool analisa = ComAnalise.value_or(SqlAnalisaColunas);
    if (!SlotVivo()) return false;
    odbc::Api& api = Api();
    Retorno = api.MoreResults(hStmt);
    if (Retorno == odbc::kNoData) return false;
    int64_t rows = 0;
    Retorno = api.RowCount(hStmt, rows);
    LinAfect = static_cast<int32_t>(rows);
    Retorno = api.NumResultCols(hStmt, Cols);
    Lins = 0;
    ColunasRedim(!analisa);
    if (analisa) AnalisaColunas();
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
