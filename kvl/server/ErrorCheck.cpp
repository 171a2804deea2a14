// The error check run after every execution: the error properties, the dialog that
// may retry, the error log file and the offer to re-establish a lost link.

#include <chrono>

#include "kvl/Error.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"
#include "kvl/kvlSERV.h"

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

std::string kvlSERV::ErroLe(Handle hConn, Handle hStmt) {
    odbc::Diagnostic d;
    api_->Error(hEnv, hConn, hStmt, 1, d);
    ErroNativo = d.native;
    estadoSql_ = d.state;
    return std::string(CorteUtf8(d.message, 1024));
}

void kvlSERV::ErroTrata(std::string_view Parametro, Handle hConn, Handle hStmt,
                        std::string_view DeOnde) {
    erro = false;
    ErroN = static_cast<int16_t>(Retorno);
    if (Retorno == odbc::kSuccess) {
        // A plain success leaves no diagnostic to read.
        ErroD.clear();
        ErroNativo = 0;
        estadoSql_.clear();
        Resposta = kIgnore;
        return;
    }
    ErroD = ErroLe(hConn, hStmt);
    if (ErroNativo == kDatabaseContextChanged) ErroN = 1;
    Resposta = kIgnore;
    if (ErroN == odbc::kSuccess || ErroN == odbc::kSuccessWithInfo) return;
    erro = true;

    bool duplicadoIgnorado = IgDupKey && ChaveDuplicada(estadoSql_, ErroNativo, ErroD);
    if (ComMsg && !duplicadoIgnorado) {
        std::string titulo = std::string(kTitulo) + " [" + std::string(DeOnde) + "]";
        std::string texto = std::to_string(ErroN) + "\r" + ErroD + "\r\r" + std::string(Parametro);
        Resposta =
            Dialogos->Pergunta(titulo, texto, kAbortRetryIgnore + kIconError + kDefaultButton2);
    }
    if (ComMsgLog && PathOK(FicheiroDeErros())) RegistaNoFicheiroDeErros(Parametro);
    bool ligacaoPerdida = ErroNativo == kConnectionReset || LigacaoPerdida(estadoSql_);
    if (ligacaoPerdida && Retorno != odbc::kStillExecuting) PerguntaSeReliga();
    if (Log) HistoriaAdd("Erro ", std::to_string(ErroN) + " - " + ErroD, true);
}

// The session is opened again with the connection text it was opened with: rebuilt from
// the properties, a text the client gave (a DSN-less text, a port, driver options) would be
// lost and the reconnection would fail or reach another server.
void kvlSERV::PerguntaSeReliga() {
    if (Dialogos->Pergunta("Link Failure!", kPerguntaLigacao, kYesNo + kIconQuestion) == kYes)
        Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false, Login);
}

bool kvlSERV::AcessoNãoTem() const {
    return erro && (estadoSql_ == "42501" || ErroD.find("permission denied") != std::string::npos);
}

void kvlSERV::Conecta_old(Handle& hConn, Handle& hStmt) {
    Retorno = api_->AllocConnect(hEnv, hConn);
    Retorno = api_->DriverConnect(hConn, Login, static_cast<uint16_t>(Prompt));
    if (!odbc::Succeeded(Retorno)) {
        Aberto = false;
        erro = true;
        ErroTrata("", hConn, 0, "SQLDriverConnect");
    }
    Retorno = api_->AllocStmt(hConn, hStmt);
    if (hStmt) Retorno = api_->SetQueryTimeout(hStmt, 0);
}

}  // namespace kvl
