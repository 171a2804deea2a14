// Running commands: Exec with its retry loop, the row-count prediction, the command
// assembled with com, and the database test built on them.

#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

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
    std::string comando = SCom;
    return Exec(&comando, std::move(oRes), PreveLinhas, ComAnalise);
}

std::shared_ptr<kvlRES> kvlSERV::Exec(std::string* SCom, std::shared_ptr<kvlRES> oRes,
                                      int32_t* PreveLinhas, std::optional<bool> ComAnalise) {
    std::string comando = ComandoAExecutar(SCom, PreveLinhas);
    if (comando.empty()) return nullptr;
    std::shared_ptr<kvlRES> R = oRes ? std::move(oRes) : std::make_shared<kvlRES>();
    R->ActCom = std::move(comando);
    int32_t inicio = ExecutaComRepeticao(*R);
    if (Log) RegistaExecucao(*R, inicio);
    R->Cols = 0;
    R->Lins = 0;
    if (!R->SlotVivo()) {
        // The link was re-established under this command: its handles are gone.
        R->Indice = 0;
        R->erro = true;
        return R;
    }
    if (erro) return R;

    R->SqlAnalisaColunas = SqlAnalisaColunas;
    R->Descreve(ComAnalise.value_or(SqlAnalisaColunas), true);
    LinAfect = R->LinAfect;
    if (PreveLinhas) LePrevisao(*R, *PreveLinhas);
    return R;
}

std::string kvlSERV::ComandoAExecutar(std::string* SCom, int32_t* PreveLinhas) {
    std::string comando;
    if (SCom) {
        comando = *SCom;
    } else {
        comando.swap(ActCom);
    }
    if (Apara(comando).empty()) return {};
    if (PreveLinhas) {
        // A command without a query has nothing to count: it runs as given.
        std::string lote = Exec_ComPrevNumDeLinhas(comando);
        if (!Apara(lote).empty()) {
            comando = std::move(lote);
            if (SCom) *SCom = comando;
        }
    }
    return comando;
}

int32_t kvlSERV::ExecutaComRepeticao(kvlRES& R) {
    const std::string& comando = R.ActCom;
    // A slot R already holds may have a cursor open from its last command.
    bool fechaCursor = R.Indice != 0;
    int32_t inicio = 0;
    Resposta = kRetry;
    while (Resposta == kRetry) {
        erro = false;
        if (Log) {
            inicio = Milissegundos();
            HistoriaAdd("", "", true);
        }
        // A slot of a session closed or reconnected since is not R's any more.
        if (R.Indice != 0 && !R.SlotVivo()) R.Indice = 0;
        if (R.Indice == 0) {
            ReservaPara(R);
        } else if (fechaCursor) {
            Retorno = api_->CloseCursor(R.hStmt);
        }
        fechaCursor = true;  // a retry runs where the failed attempt ran
        Retorno = api_->ExecDirect(R.hStmt, comando);
        ErroTrata(comando, R.hConn, R.hStmt, "SQLExecDirect");
        R.erro = erro;
        R.ErroN = ErroN;
        R.ErroD = ErroD;
        R.Pai = weak_from_this().lock();
    }
    return inicio;
}

void kvlSERV::RegistaExecucao(const kvlRES& R, int32_t inicio) {
    HistoriaAdd("ActCom", R.ActCom);
    HistoriaAdd("Indice", std::to_string(R.Indice));
    HistoriaAdd("hConn", std::to_string(R.hConn));
    HistoriaAdd("hStmt", std::to_string(R.hStmt));
    HistoriaAdd("Erro", BoolTexto(erro));
    HistoriaAdd("ErroN", std::to_string(ErroN));
    HistoriaAdd("ErroD", ErroD);
    uint32_t elapsed = static_cast<uint32_t>(Milissegundos()) - static_cast<uint32_t>(inicio);
    HistoriaAdd("Tempo", std::to_string(elapsed), true);
}

void kvlSERV::LePrevisao(kvlRES& R, int32_t& PreveLinhas) {
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

bool kvlSERV::RepeteAposFalha(kvlRES& R, std::string_view DeOnde) {
    Retorno = R.Retorno;
    ErroTrata(R.ActCom, R.hConn, R.hStmt, DeOnde);
    // A link re-established under R succeeded, but R's rows are still lost.
    bool vivo = R.SlotVivo();
    R.erro = erro || !vivo;
    R.ErroN = ErroN;
    R.ErroD = ErroD;
    return Resposta == kRetry && vivo;
}

bool kvlSERV::ExisteDB(std::string_view Nome, Variant* Identificação) {
    if (!Aberto) return false;
    auto R = Exec("SELECT dbid FROM master.dbo.sysdatabases where name='" + Literal(Nome) + "'");
    bool existe = R && R->TemLinhas();
    if (existe && Identificação) *Identificação = R->Col(1);
    if (R) R->Liberta();
    return existe;
}

}  // namespace kvl
