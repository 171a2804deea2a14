// kvlSERV: the catalog, the field properties, and filling lists and variables.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindCatalog(ServerClass& serv) {
    serv.def("CamposExisteCampo", &kvlSERV::CamposExisteCampo, py::arg("Tabela"), py::arg("Campo"))
        .def(
            "CamposPropsCarrega",
            [](kvlSERV& s, std::optional<kvl::Variant> RES, std::optional<kvl::Variant> Tabela) {
                s.CamposPropsCarrega(RES ? &*RES : nullptr, std::move(Tabela));
            },
            py::arg("RES") = py::none(), py::arg("Tabela") = py::none(),
            "Loads field properties from RES (a kvlRES, or any object with TemLinhas and Col) "
            "or from the catalog for Tabela.")
        .def("CamposPropsInfo", &kvlSERV::CamposPropsInfo, py::arg("Tabela"),
             py::arg("Recursiva_2Vez") = py::none(), py::arg("Campo") = py::none())
        .def("CamposAnalisa", &kvlSERV::CamposAnalisa, py::arg("TabelaNome"),
             py::arg("NomeCampo") = py::none(), py::arg("syscolumnsNome") = py::none(),
             py::arg("sysobjectsNome") = py::none())
        .def("CamposQuerPlicas", &kvlSERV::CamposQuerPlicas, py::arg("Nome"))
        .def("ListaEnche", &kvlSERV::ListaEnche, py::arg("Lista"), py::arg("SQL"),
             "Fills Lista (any object with Clear and AddItem) and gives the codes array.")
        .def(
            "VarCarrega",
            [](kvlSERV& s, const std::string& SQL, kvl::VariantArray& Variaveis) {
                bool found = s.VarCarrega(SQL, Variaveis);
                return WithOutputs(py::cast(found), {py::cast(Variaveis)});
            },
            py::arg("SQL"), py::arg("Variaveis"),
            "Copies the first row into Variaveis (an Array, filled in place) and gives "
            "(found, Variaveis).");
}

const ServerArea area(BindCatalog);

}  // namespace

}  // namespace kvlpy
