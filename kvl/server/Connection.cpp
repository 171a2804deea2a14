// Opening and closing a session: the connection text, the environment, the connect
// routine shared by every slot, and the close sequence.

#include <limits>

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

// A value that would be misread inside a connection text is put between braces.
std::string ValorDeLigacao(std::string_view value) {
    bool plain = value.find_first_of(";{}=") == std::string_view::npos &&
                 (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return std::string(value);
    return "{" + StrSubstitui(value, "}", "}}", true) + "}";
}

}  // namespace

void kvlSERV::Abre(std::optional<std::string> sDSN, std::optional<std::string> sDB,
                   std::optional<std::string> sUID, std::optional<std::string> sPWD,
                   std::optional<std::string> sDRIVER, std::optional<bool> BuildLogin,
                   std::optional<std::string> sLOGIN, std::optional<std::string> sSERVER) {
    if (sDRIVER) Driver = *sDRIVER;
    if (sSERVER) Server = *sSERVER;
    if (sDSN) DSN = *sDSN;
    if (sDB) DB = *sDB;
    if (sUID) UID = *sUID;
    if (sPWD) PWD = *sPWD;
    if (sLOGIN) Login = *sLOGIN;

    if (BuildLogin.value_or(true)) {
        std::string db = ValorDeLigacao(DB);
        std::string head = Driver.empty() ? "DSN=" + ValorDeLigacao(DSN)
                                          : "DRIVER=" + ValorDeLigacao(Driver) +
                                                ";SERVER=" + ValorDeLigacao(Server);
        Login = head + ";DATABASE=" + db + ";DBQ=" + db + ";UID=" + ValorDeLigacao(UID) +
                ";PWD=" + ValorDeLigacao(PWD);
    }

    Fecha();  // an open session is closed first; a half-open one is released

    Retorno = AbreAmbiente();
    Aberto = false;
    erro = false;
    if (!odbc::Succeeded(Retorno)) {
        erro = true;
        if (Log) {
            HistoriaAdd("Log", BoolTexto(Log));
            HistoriaAdd("Ponteiro de ambiente",
                        std::to_string(hEnv) + " rc " + std::to_string(Retorno), true);
            HistoriaAdd("Ponteiro de ambiente não foi alocado.", "", true);
        }
        return;
    }

    Aberto = true;
    erro = false;
    historia_.assign(1, std::string());
    if (Log) {
        HistoriaAdd("Log", BoolTexto(Log));
        HistoriaAdd("Ponteiro de ambiente", std::to_string(hEnv) + " rc " + std::to_string(Retorno),
                    true);
    }
    StackBase(lStackBase);
    // Also after a failed connect: the services ask, and the error check reports.
    TabelaPosCarrega();
    TabelaPermCarrega(DB);
}

int16_t kvlSERV::AbreAmbiente(Handle* PonteiroAmbiente) {
    Retorno = api_->AllocEnv(hEnv);
    if (PonteiroAmbiente) *PonteiroAmbiente = hEnv;
    return static_cast<int16_t>(Retorno);
}

void kvlSERV::Conecta(Handle& hConn, Handle& hStmt) {
    // The caller owns what this connects.
    Slot slot;
    LigaSlot(slot);
    hStmt = slot.stmt.Release();
    hConn = slot.conn.Release();
}

void kvlSERV::LigaSlot(Slot& slot) {
    if (Prompt < std::numeric_limits<int16_t>::min() ||
        Prompt > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    erro = false;
    slot.conn = odbc::Connection(*api_, hEnv);
    Retorno = slot.conn.status();
    Retorno = slot.conn.Connect(Login, static_cast<uint16_t>(Prompt));
    if (!odbc::Succeeded(Retorno)) {
        erro = true;
        Aberto = false;
        // No statement can live on a connection that failed; asking for one would only
        // replace the driver's reason, which ErroLe can still read from the connection.
        return;
    }
    slot.stmt = odbc::Statement(*api_, slot.conn.get());
    Retorno = slot.stmt.status();
    if (slot.stmt.get()) Retorno = api_->SetQueryTimeout(slot.stmt.get(), 0);  // never time out
}

void kvlSERV::Fecha() {
    if (Aberto) {
        SequenciaDeFecho();
    } else if (hEnv != 0) {
        LibertaLigacoes();  // what a failed open or a failed growth left allocated
    }
}

void kvlSERV::SequenciaDeFecho() {
    Aberto = false;
    TabelaPosGravaTabela(!SqlMix);
    LibertaLigacoes();
    Reset();
}

void kvlSERV::LibertaLigacoes() {
    for (size_t i = 1; i < stack_.size(); ++i) stack_[i].Liberta();
    stack_.resize(1);
    SlotCount = 0;
    if (hEnv != 0) {
        Retorno = api_->FreeEnv(hEnv);
        hEnv = 0;
    }
    ++geracao_;  // result sets still holding slots of this session are now stale
}

}  // namespace kvl
