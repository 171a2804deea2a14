// Opening and closing a session: the connection text, the environment, the connect
// routine shared by every slot, the reconnection and the close sequence.

#include <limits>

#include "SessionImpl.h"
#include "kvl/Error.h"
#include "kvl/Text.h"
#include "kvl/odbc/Cursor.h"

namespace kvl {

namespace {

// A value that would be misread inside a connection text is put between braces.
std::string ValorDeLigacao(std::string_view value) {
    bool plain = value.find_first_of(";{}=") == std::string_view::npos &&
                 (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return std::string(value);
    return "{" + StrSubstitui(value, "}", "}}", true) + "}";
}

// The first value of the single-row, single-column answer of sql on stmt; "" when none.
std::string FirstValue(odbc::Api& api, Handle stmt, const std::string& sql) {
    const odbc::Cursor cursor(api, stmt);
    std::string value;
    odbc::Return rc = 0;
    bool read = odbc::Succeeded(api.ExecDirect(stmt, sql)) &&
                cursor.Fetch(rc) == odbc::Fetched::kRow &&
                odbc::Succeeded(cursor.ReadWhole(1, value).rc);
    api.CloseCursor(stmt);
    return read ? value : "";
}

}  // namespace

void kvlSERV::Abre(const std::string& Ligacao) {
    if (Ligacao.find('=') == std::string::npos) {
        Abre(std::optional<std::string>(Ligacao));
        return;
    }
    Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false, Ligacao);
}

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

    Impl& e = impl();
    e.lastReturn = AbreAmbiente();
    Aberto = false;
    erro = false;
    if (!odbc::Succeeded(e.lastReturn)) {
        erro = true;
        if (Log) {
            HistoriaAdd("Log", BoolTexto(Log));
            HistoriaAdd("Ponteiro de ambiente",
                        std::to_string(hEnv) + " rc " + std::to_string(e.lastReturn), true);
            HistoriaAdd("Ponteiro de ambiente não foi alocado.", "", true);
        }
        return;
    }

    Aberto = true;
    erro = false;
    e.history.assign(1, std::string());
    if (Log) {
        HistoriaAdd("Log", BoolTexto(Log));
        HistoriaAdd("Ponteiro de ambiente",
                    std::to_string(hEnv) + " rc " + std::to_string(e.lastReturn), true);
    }
    StackBase(lStackBase);
    if (!Aberto) return;  // refused: the error properties hold the driver's reason
    for (services::Service* service : e.services) service->Load(e.runner, *this);
}

int16_t kvlSERV::AbreAmbiente(Handle* PonteiroAmbiente) {
    Impl& e = impl();
    e.lastReturn = e.pool->OpenEnvironment();
    hEnv = e.pool->env();
    if (PonteiroAmbiente) *PonteiroAmbiente = hEnv;
    return static_cast<int16_t>(e.lastReturn);
}

void kvlSERV::Conecta(Handle& hConn, Handle& hStmt) {
    // The caller owns what this connects.
    StatementPool::Slot slot;
    impl().Connect(slot);
    hStmt = slot.stmt.Release();
    hConn = slot.conn.Release();
}

void kvlSERV::Impl::Connect(StatementPool::Slot& slot) {
    kvlSERV& s = self;
    if (s.Prompt < std::numeric_limits<int16_t>::min() ||
        s.Prompt > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    s.erro = false;
    slot.conn = odbc::Connection(*api, pool->env());
    lastReturn = slot.conn.status();
    lastReturn = slot.conn.Connect(s.Login, static_cast<uint16_t>(s.Prompt));
    if (!odbc::Succeeded(lastReturn)) {
        // The driver's reason of this one attempt: no statement can live on the failed
        // connection, and no second login is made to ask again.
        odbc::Diagnostic d;
        api->Error(pool->env(), slot.conn.get(), 0, 1, d);
        s.erro = true;
        s.Aberto = false;
        s.ErroN = static_cast<int16_t>(lastReturn);
        s.ErroD = std::string(CorteUtf8(d.message, 1024));
        s.ErroNativo = d.native;
        sqlState = d.state;
        return;
    }
    slot.stmt = odbc::Statement(*api, slot.conn.get());
    lastReturn = slot.stmt.status();
    if (slot.stmt.get()) lastReturn = api->SetQueryTimeout(slot.stmt.get(), 0);  // never time out
    if (!facts.known && slot.stmt.get()) LearnServer(slot);
}

void kvlSERV::Impl::LearnServer(const StatementPool::Slot& slot) {
    facts.known = true;
    std::string answer;
    api->GetInfo(slot.conn.get(), odbc::kInfoMultResultSets, answer);
    facts.batches = answer == "Y";
    answer.clear();
    api->GetInfo(slot.conn.get(), odbc::kInfoDbmsName, answer);
    // Only PostgreSQL reads backslashes in plain literals as escapes, and only when told to.
    facts.backslashEscapes =
        answer == "PostgreSQL" &&
        FirstValue(*api, slot.stmt.get(), "SHOW standard_conforming_strings") == "off";
}

void kvlSERV::Fecha() {
    Impl& e = impl();
    if (Aberto) {
        // The changed entries are written as they stand; a link lost meanwhile may be
        // re-established for them, but nothing is loaded again.
        for (services::Service* service : e.services) service->Save(e.runner, *this);
        Aberto = false;
        e.FreeLinks();
        e.Reset();
    } else if (hEnv != 0 || e.pool->Size() > 1) {
        e.FreeLinks();  // what a failed open or a failed growth left allocated
    }
}

void kvlSERV::Impl::FreeLinks() {
    pool->FreeAll();
    self.hEnv = 0;
    facts = {};
}

void kvlSERV::Impl::Reopen() {
    kvlSERV& s = self;
    const bool failed = s.erro;
    const int16_t number = s.ErroN;
    const std::string description = s.ErroD;
    const int32_t native = s.ErroNativo;
    const std::string state = sqlState;

    s.Aberto = false;
    FreeLinks();
    lastReturn = s.AbreAmbiente();
    if (!odbc::Succeeded(lastReturn)) {
        s.erro = true;
        return;
    }
    s.Aberto = true;
    s.StackBase(s.lStackBase);
    if (!s.Aberto) return;  // the reconnection's own refusal is what the caller sees
    s.erro = failed;
    s.ErroN = number;
    s.ErroD = description;
    s.ErroNativo = native;
    sqlState = state;
}

}  // namespace kvl
