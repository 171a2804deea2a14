// The error check run after every execution: the error properties, the dialog that
// may retry, the error log file and the offer to re-establish a lost link.

#include <chrono>

#include "SessionImpl.h"
#include "kvl/Error.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

constexpr int32_t kDatabaseContextChanged = 5701;
constexpr int32_t kConnectionReset = 10054;
constexpr int32_t kSqliteConstraint = 19;

// SQLSTATEs that say the link to the server is gone: communication failure, no
// connection, connection refused, and the server ending the session (shut down,
// crash, or the session terminated by an administrator).
bool LigacaoPerdida(std::string_view state) {
    for (std::string_view s : {"08S01", "08003", "08007", "57P01", "57P02", "57P03"})
        if (state == s) return true;
    return false;
}

// A duplicate key by its state, by the SQLite driver's constraint failure, or by the
// English text of servers that give neither.
bool ChaveDuplicada(std::string_view state, int32_t native, std::string_view text) {
    std::string lower = Minusculas(text);
    return state == "23505" || lower.find("duplicate key") != std::string::npos ||
           (native == kSqliteConstraint && lower.find("unique constraint") != std::string::npos);
}

const char* const kTitulo = "kvlSERV - acesso a base de dados (servidor)";
const char* const kPerguntaLigacao =
    "Parece não haver ligação ao servidor!\r\n"
    "Deseja tentar restabelecer as conexões ao servidor?\r\n\r\n"
    "It seems that the link to the server is lost!\r\n"
    "Do you wish to try to re-establish the connections?";

}  // namespace

int32_t kvlSERV::Milissegundos() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

const std::string& kvlSERV::ErroEstado() const {
    return impl().sqlState;
}

std::string kvlSERV::ErroLe(Handle hConn, Handle hStmt) {
    odbc::Diagnostic d;
    impl().api->Error(hEnv, hConn, hStmt, 1, d);
    ErroNativo = d.native;
    impl().sqlState = d.state;
    return std::string(CorteUtf8(d.message, 1024));
}

Decision kvlSERV::Impl::Check(odbc::Return rc, std::string_view command, Handle conn, Handle stmt,
                              std::string_view where) {
    odbc::Diagnostic d;
    if (rc != odbc::kSuccess) api->Error(self.hEnv, conn, stmt, 1, d);
    return Check(rc, d, command, where);
}

Decision kvlSERV::Impl::Check(odbc::Return rc, const odbc::Diagnostic& reason,
                              std::string_view command, std::string_view where) {
    kvlSERV& s = self;
    s.erro = false;
    s.ErroN = static_cast<int16_t>(rc);
    // A plain success leaves no diagnostic to read.
    if (rc == odbc::kSuccess) {
        s.ErroD.clear();
        s.ErroNativo = 0;
        sqlState.clear();
        return Decision::Continue;
    }
    s.ErroD = CorteUtf8(reason.message, 1024);
    s.ErroNativo = reason.native;
    sqlState = reason.state;
    if (s.ErroNativo == kDatabaseContextChanged) s.ErroN = 1;
    if (s.ErroN == odbc::kSuccess || s.ErroN == odbc::kSuccessWithInfo) return Decision::Continue;
    s.erro = true;

    int32_t answer = kIgnore;
    bool duplicateIgnored = s.IgDupKey && ChaveDuplicada(sqlState, s.ErroNativo, s.ErroD);
    if (s.ComMsg && !duplicateIgnored) {
        std::string title = std::string(kTitulo) + " [" + std::string(where) + "]";
        std::string text = std::to_string(s.ErroN) + "\r" + s.ErroD + "\r\r" + std::string(command);
        answer =
            s.Dialogos->Pergunta(title, text, kAbortRetryIgnore + kIconError + kDefaultButton2);
    }
    if (s.ComMsgLog && PathOK(FicheiroDeErros())) RegistaNoFicheiroDeErros(s, command);
    bool retry = answer == kRetry;
    bool linkLost = s.ErroNativo == kConnectionReset || LigacaoPerdida(sqlState);
    bool reconnect =
        linkLost && rc != odbc::kStillExecuting &&
        s.Dialogos->Pergunta("Link Failure!", kPerguntaLigacao, kYesNo + kIconQuestion) == kYes;
    if (s.Log) s.HistoriaAdd("Erro ", std::to_string(s.ErroN) + " - " + s.ErroD, true);
    if (reconnect) return retry ? Decision::ReconnectAndRetry : Decision::Reconnect;
    return retry ? Decision::Retry : Decision::Continue;
}

bool kvlSERV::Impl::Follow(Decision d) {
    if (Reconnects(d)) {
        Reopen();
        if (!self.Aberto) return false;
    }
    return Retries(d);
}

void kvlSERV::ErroTrata(std::string_view Parametro, Handle hConn, Handle hStmt,
                        std::string_view DeOnde) {
    impl().Follow(impl().Check(impl().lastReturn, Parametro, hConn, hStmt, DeOnde));
}

bool kvlSERV::AcessoNãoTem() const {
    return erro &&
           (impl().sqlState == "42501" || ErroD.find("permission denied") != std::string::npos);
}

void kvlSERV::Conecta_old(Handle& hConn, Handle& hStmt) {
    odbc::Api& api = *impl().api;
    odbc::Return& rc = impl().lastReturn;
    rc = api.AllocConnect(hEnv, hConn);
    rc = api.DriverConnect(hConn, Login, static_cast<uint16_t>(Prompt));
    if (!odbc::Succeeded(rc)) {
        Aberto = false;
        erro = true;
        ErroTrata("", hConn, 0, "SQLDriverConnect");
    }
    rc = api.AllocStmt(hConn, hStmt);
    if (hStmt) rc = api.SetQueryTimeout(hStmt, 0);
}

}  // namespace kvl
