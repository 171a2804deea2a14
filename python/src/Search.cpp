// kvlSERV: the ranked text search and the description of a code.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindSearch(ServerClass& serv) {
    serv.def(
            "Pesquisa",
            [](const kvlSERV& s, const std::string& Tabela, const std::string& CampoPesquisa,
               const std::string& CamposRetorno, std::string oQue,
               std::optional<kvl::Variant> IgnorarAcentos, std::optional<kvl::Variant> NumeroLinhas,
               std::optional<kvl::Variant> OrderByNumPalavras) {
                kvl::Variant command = s.Pesquisa(
                    Tabela, CampoPesquisa, CamposRetorno, oQue, std::move(IgnorarAcentos),
                    std::move(NumeroLinhas), std::move(OrderByNumPalavras));
                return WithOutputs(py::cast(command), {py::cast(oQue)});
            },
            py::arg("Tabela"), py::arg("CampoPesquisa"), py::arg("CamposRetorno"), py::arg("oQue"),
            py::arg("IgnorarAcentos") = py::none(), py::arg("NumeroLinhas") = py::none(),
            py::arg("OrderByNumPalavras") = py::none(),
            "Gives (command, oQue): the command that ranks the rows (not run) and the text "
            "as searched.")
        .def(
            "PesquisaDesc",
            [](kvlSERV& s, const kvl::Variant& O_Que, const kvl::Variant& Onde,
               std::optional<kvl::Variant> COL_Codigo, std::optional<kvl::Variant> COL_DESC,
               std::optional<kvl::Variant> OutraCol) {
                std::string description =
                    s.PesquisaDesc(O_Que, Onde, Ref(COL_Codigo), Ref(COL_DESC), Ref(OutraCol));
                // The column names are only read; the other column receives its value.
                return WithOutputs(py::cast(description), Passed(OutraCol));
            },
            py::arg("O_Que"), py::arg("Onde"), py::arg("COL_Codigo") = py::none(),
            py::arg("COL_DESC") = py::none(), py::arg("OutraCol") = py::none(),
            "Gives the description of code O_Que in table Onde of the collection; with "
            "OutraCol (a column name) it gives (description, that column's value).");
}

const ServerArea area(BindSearch);

}  // namespace

}  // namespace kvlpy
