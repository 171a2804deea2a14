// Running commands: Exec with its retry loop, the row-count prediction, the command
// assembled with com, and the database test built on them.

#include "../result/ResultImpl.h"
#include "SessionImpl.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

// The count statement that goes before statement S of a prediction batch.
std::string ContagemDe(const std::string& S) {
    size_t from = Minusculas(S).find("from");
    // Without a FROM (or one inside the select keyword's reach) there is nothing to
    // count from: one row, so counts and rows still alternate.
    if (from == std::string::npos || from < 8) return "SELECT 1";
    std::string_view lista = Apara(std::string_view(S).substr(7, from - 8));
    std::string resto = S.substr(from - 1);
    std::string C = lista == "*" ? "SELECT count(*)" + resto
                                 : "SELECT count(" + StrPar(1, lista, ",") + ")" + resto;
    if (size_t order = Minusculas(C).find("order by"); order != std::string::npos) C.resize(order);
    return C;
}

// The command Exec runs: comando, made the count batch when a prediction is asked (and
// then written back to SCom when given); empty when there is nothing to run.
std::string ComandoAExecutar(kvlSERV& s, std::string comando, std::string* SCom,
                             int32_t* PreveLinhas) {
    if (Apara(comando).empty()) return {};
    if (PreveLinhas) {
        // A command without a query has nothing to count: it runs as given.
        std::string lote = s.Exec_ComPrevNumDeLinhas(comando);
        if (!Apara(lote).empty()) {
            comando = std::move(lote);
            if (SCom) *SCom = comando;
        }
    }
    return comando;
}

// Reads R's count rows into the prediction and moves R on to the command's rows.
void LePrevisao(kvlRES& R, int32_t& PreveLinhas) {
    PreveLinhas = 0;
    while (R.TemLinhas()) {
        if (R.Lins == 1) {
            PreveLinhas = R.Col(1).ToInt32();
        } else if (R.Lins == 2) {
            PreveLinhas = 2;
        } else {
            ++PreveLinhas;
        }
    }
    if (R.Lins > 0) R.MaisResultados();
}

}  // namespace

std::string kvlSERV::Exec_ComPrevNumDeLinhas(std::string_view Comando) const {
    int32_t n = StrConta(Minusculas(Comando), "select");
    std::string lote;
    for (int32_t k = 2; k <= n + 1; ++k) {
        std::string S(Apara("SELECT" + StrPar(k, Comando, "select", nullptr, nullptr, true)));
        lote += ContagemDe(S) + " " + S + " ";
    }
    return lote;
}

void kvlSERV::com(std::string_view sComando) {
    ActCom.append(" ").append(sComando);
}

std::shared_ptr<kvlRES> kvlSERV::Exec(const std::string& SCom, std::shared_ptr<kvlRES> oRes,
                                      int32_t* PreveLinhas, std::optional<bool> ComAnalise) {
    return impl().Exec(SCom, nullptr, std::move(oRes), PreveLinhas, ComAnalise);
}

std::shared_ptr<kvlRES> kvlSERV::Exec(std::string* SCom, std::shared_ptr<kvlRES> oRes,
                                      int32_t* PreveLinhas, std::optional<bool> ComAnalise) {
    // Without a command of its own, Exec runs (and empties) the pending text.
    std::string comando;
    if (SCom) {
        comando = *SCom;
    } else {
        comando.swap(ActCom);
    }
    return impl().Exec(std::move(comando), SCom, std::move(oRes), PreveLinhas, ComAnalise);
}

std::shared_ptr<kvlRES> kvlSERV::Impl::Exec(std::string comando, std::string* SCom,
                                            std::shared_ptr<kvlRES> oRes, int32_t* PreveLinhas,
                                            std::optional<bool> ComAnalise) {
    kvlSERV& s = self;
    comando = ComandoAExecutar(s, std::move(comando), SCom, PreveLinhas);
    if (comando.empty()) return nullptr;
    std::shared_ptr<kvlRES> R = oRes ? std::move(oRes) : std::make_shared<kvlRES>();
    R->ActCom = std::move(comando);
    int32_t inicio = Run(*R);
    if (s.Log) LogExecution(*R, inicio);
    R->Cols = 0;
    R->Lins = 0;
    kvlRES::Impl& r = R->impl();
    if (!r.SlotVivo()) {
        // The link was re-established under this command and it was not run again.
        r.lease = SlotLease();
        R->Indice = 0;
        R->erro = true;
        return R;
    }
    if (s.erro) return R;

    R->SqlAnalisaColunas = s.SqlAnalisaColunas;
    r.Descreve(ComAnalise.value_or(s.SqlAnalisaColunas), true);
    s.LinAfect = R->LinAfect;
    if (PreveLinhas) LePrevisao(*R, *PreveLinhas);
    return R;
}

int32_t kvlSERV::Impl::Run(kvlRES& R) {
    kvlSERV& s = self;
    kvlRES::Impl& r = R.impl();
    const std::string& comando = R.ActCom;
    r.ReiniciaLeitura();
    // A slot R already holds may have a cursor open from its last command.
    bool fechaCursor = r.SlotVivo();
    int32_t inicio = 0;
    for (;;) {
        s.erro = false;
        if (s.Log) {
            inicio = Milissegundos();
            s.HistoriaAdd("", "", true);
        }
        // A slot of a session closed or reconnected since is not R's any more.
        if (!r.SlotVivo()) {
            r.Hold(Lease());
        } else if (fechaCursor) {
            lastReturn = api->CloseCursor(R.hStmt);
        }
        fechaCursor = true;  // a retry runs where the failed attempt ran
        lastReturn = api->ExecDirect(R.hStmt, comando);
        Decision d = Check(lastReturn, comando, R.hConn, R.hStmt, "SQLExecDirect");
        R.erro = s.erro;
        R.ErroN = s.ErroN;
        R.ErroD = s.ErroD;
        if (R.Pai.get() != &s) R.Pai = s.shared_from_this();
        if (!Follow(d)) return inicio;
    }
}

void kvlSERV::Impl::LogExecution(const kvlRES& R, int32_t start) {
    LogExecution(R.ActCom, R.Indice, R.hConn, R.hStmt, start);
}

void kvlSERV::Impl::LogExecution(std::string_view command, int16_t index, Handle conn, Handle stmt,
                                 int32_t start) {
    kvlSERV& s = self;
    s.HistoriaAdd("ActCom", command);
    s.HistoriaAdd("Indice", std::to_string(index));
    s.HistoriaAdd("hConn", std::to_string(conn));
    s.HistoriaAdd("hStmt", std::to_string(stmt));
    s.HistoriaAdd("Erro", BoolTexto(s.erro));
    s.HistoriaAdd("ErroN", std::to_string(s.ErroN));
    s.HistoriaAdd("ErroD", s.ErroD);
    uint32_t elapsed = static_cast<uint32_t>(Milissegundos()) - static_cast<uint32_t>(start);
    s.HistoriaAdd("Tempo", std::to_string(elapsed), true);
}

bool kvlSERV::ExisteDB(std::string_view Nome, Variant* Identificação) {
    if (!Aberto) return false;
    auto R = Exec("SELECT dbid FROM master.dbo.sysdatabases where name='" +
                  impl().runner.Literal(Nome) + "'");
    bool existe = R && R->TemLinhas();
    if (existe && Identificação) *Identificação = R->Col(1);
    if (R) R->Liberta();
    return existe;
}

}  // namespace kvl
