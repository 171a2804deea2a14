// kvlSERV: the user's rights per option, and menu items switched by them.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;
using kvl::Variant;

namespace {

using RightsMember = bool (kvlSERV::*)(std::string_view, Variant*, Variant*, Variant*, Variant*,
                                       Variant*, Variant*);

// A member that writes the six rights of an option: those passed are returned after the
// result, each as the member left it.
auto RightsWrittenBack(RightsMember member) {
    return [member](kvlSERV& s, std::string_view CodigoOpc, std::optional<Variant> a,
                    std::optional<Variant> c, std::optional<Variant> n, std::optional<Variant> g,
                    std::optional<Variant> e, std::optional<Variant> l) {
        bool has = (s.*member)(CodigoOpc, Ref(a), Ref(c), Ref(n), Ref(g), Ref(e), Ref(l));
        return WithOutputs(py::cast(has), Passed(a, c, n, g, e, l));
    };
}

void BindPermissions(ServerClass& serv) {
    serv.def("TabelaPermCarrega", &kvlSERV::TabelaPermCarrega, py::arg("BaseDeDados"))
        .def("TabelaPermSimplifica", &kvlSERV::TabelaPermSimplifica)
        .def("TabelaPerm", RightsWrittenBack(&kvlSERV::TabelaPerm), py::arg("CodigoOpc"),
             py::arg("Acesso") = py::none(), py::arg("Consulta") = py::none(),
             py::arg("Criação") = py::none(), py::arg("Gravar") = py::none(),
             py::arg("Eliminar") = py::none(), py::arg("Listar") = py::none(),
             "Whether the user has an entry for the option, followed by the rights passed "
             "(any value), in argument order.")
        .def("TabelaPermGrupo", RightsWrittenBack(&kvlSERV::TabelaPermGrupo), py::arg("CodigoOpc"),
             py::arg("Acesso") = py::none(), py::arg("Consulta") = py::none(),
             py::arg("Novo") = py::none(), py::arg("Gravar") = py::none(),
             py::arg("Eliminar") = py::none(), py::arg("Listar") = py::none(),
             "The same for the group's entry; without one the rights come back as passed.")
        .def("TabelaPermTemAcesso", &kvlSERV::TabelaPermTemAcesso, py::arg("CodigoOpc"))
        .def("TabelaPermTemConsulta", &kvlSERV::TabelaPermTemConsulta, py::arg("CodigoOpc"))
        .def("TabelaPermTemInserção", &kvlSERV::TabelaPermTemInserção, py::arg("CodigoOpc"))
        .def("TabelaPermTemAlteração", &kvlSERV::TabelaPermTemAlteração, py::arg("CodigoOpc"))
        .def("TabelaPermTemEliminação", &kvlSERV::TabelaPermTemEliminação, py::arg("CodigoOpc"))
        .def("TabelaPermTemListagem", &kvlSERV::TabelaPermTemListagem, py::arg("CodigoOpc"))
        .def("TabelaPermVerifica", &kvlSERV::TabelaPermVerifica, py::arg("Janela"),
             "Switches Enabled of each control of Janela.Controls that is a menu item "
             "(IsMenuItem true) with a Tag, by the access right of that option.");
}

const ServerArea area(BindPermissions);

}  // namespace

}  // namespace kvlpy
