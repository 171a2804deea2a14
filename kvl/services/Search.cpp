// The ranked text search: composing the command that finds and scores rows by the words
// a user typed, and reading a code's description from a table of the collection.

#include "../server/SessionImpl.h"
#include "kvl/SearchText.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"

namespace kvl {

Variant kvlSERV::Pesquisa(const std::string& Tabela, const std::string& CampoPesquisa,
                          const std::string& CamposRetorno, std::string& oQue,
                          std::optional<Variant> IgnorarAcentos,
                          std::optional<Variant> NumeroLinhas,
                          std::optional<Variant> OrderByNumPalavras) const {
    oQue = TextoDePesquisa(oQue, IgnorarAcentos ? IgnorarAcentos->ToBool() : true);

    std::string comando = " SELECT";
    if (NumeroLinhas && NumeroLinhas->ToDouble() > 0) comando += " TOP " + NumeroLinhas->ToString();
    comando += " " + CamposRetorno;

    // The last word weighs 1, the one before 2, and so on: Importancia is a bit set in
    // which the first word typed outweighs all later ones together. Weights past 2^63 are
    // written as exact decimal literals, which the server reads as exact numerics. Each
    // weight is the one before doubled, and the weighted terms, nearly all of the text, go
    // straight into the command: composing costs in proportion to the text written.
    std::vector<std::string> words = PalavrasDePesquisa(oQue);
    std::string palavras, onde;
    std::string peso = "1";
    if (!words.empty()) comando += ", Importancia=";
    for (auto w = words.rbegin(); w != words.rend(); ++w, DobraDecimal(peso)) {
        std::string contem = " (Case When " + CampoPesquisa + " like '%" + *w + "%' then ";
        comando += contem;
        comando += peso;
        comando += " else 0 end) +";
        palavras += contem + "1 else 0 end) +";
        // A "%" typed at either end anchors the filter; the scores always look anywhere.
        bool ancorada = w->front() == '%' || w->back() == '%';
        onde += " " + CampoPesquisa + " like '" + (ancorada ? *w : "%" + *w + "%") + "' or";
    }
    if (!words.empty()) {  // each list ends in one "+" or "or" too many
        comando.pop_back();
        palavras.pop_back();
        comando += ", Palavras=" + palavras;
        onde.resize(onde.size() - 2);
    }
    bool porPalavras = OrderByNumPalavras && OrderByNumPalavras->ToBool();
    comando += " FROM " + Tabela + " where " + onde +
               (porPalavras ? " order by Palavras DESC, Importancia DESC"
                            : " order by Importancia DESC, Palavras DESC");
    return Variant(std::move(comando));
}

std::string kvlSERV::PesquisaDesc(const Variant& O_Que, const Variant& Onde, Variant* COL_Codigo,
                                  Variant* COL_DESC, Variant* OutraCol) {
    int16_t onde = Onde.ToInt16();
    const auto& table = impl().collections.TableAt(onde);  // error 9 outside the collection
    const std::string& loc = table.loc;
    const std::string& lista = table.lstSql;
    // Missing columns are the list command's first two select-list items, without prefix.
    std::string codigo = COL_Codigo ? COL_Codigo->ToString() : ComandoColuna(lista, 1, true);
    std::string colunas = COL_DESC ? COL_DESC->ToString() : ComandoColuna(lista, 2, true);
    if (OutraCol) colunas += ", " + OutraCol->ToString();

    std::shared_ptr<kvlRES> R =
        Exec("SELECT " + colunas + " FROM " + loc + " WHERE " + codigo + " = " + O_Que.ToString());
    // A failed command still gives a result set, which has no row.
    if (R && R->TemLinhas()) {
        std::string descricao = R->Col(1).ToString();
        if (OutraCol) *OutraCol = R->Col(2);
        return descricao;
    }
    if (OutraCol) *OutraCol = Variant("");
    return "";
}

}  // namespace kvl
