// kvlSERV: the statement stack.

#include "Bindings.h"

namespace kvlpy {

using kvl::Handle;
using kvl::kvlSERV;

namespace {

void BindStack(ServerClass& serv) {
    serv.def(
            "StackReserva",
            [](kvlSERV& s, Handle hConn, Handle hStmt, int16_t nIndex) {
                s.StackReserva(hConn, hStmt, nIndex);
                return py::make_tuple(hConn, hStmt, nIndex);
            },
            py::arg("hConn") = 0, py::arg("hStmt") = 0, py::arg("nIndex") = 0)
        .def("StackLiberta", &kvlSERV::StackLiberta, py::arg("nIndex"))
        .def("StackReservaConexões", &kvlSERV::StackReservaConexões, py::arg("De"), py::arg("Ate"))
        .def(
            "StackItemGet",
            [](const kvlSERV& s, int16_t nIndex, bool bUsada, std::optional<Handle> hConn,
               std::optional<Handle> hStmt) {
                s.StackItemGet(nIndex, bUsada, Ref(hConn), Ref(hStmt));
                std::vector<py::object> written{py::cast(bUsada)};
                for (py::object& handle : Passed(hConn, hStmt)) written.push_back(handle);
                return OutputsOnly(written);
            },
            py::arg("nIndex"), py::arg("bUsada") = false, py::arg("hConn") = py::none(),
            py::arg("hStmt") = py::none())
        .def("StackGetNovo", &kvlSERV::StackGetNovo)
        .def_property(
            "Stack", [](const kvlSERV& s) { return s.Stack(); },
            [](kvlSERV& s, int16_t n) { s.Stack(n); }, "Slots that exist; a put is ignored.")
        .def_property(
            "StackBase", [](const kvlSERV& s) { return s.StackBase(); },
            [](kvlSERV& s, const py::int_& n) { s.StackBase(Narrow<int16_t>(n)); })
        .def("MASS_SegueConexão", &kvlSERV::MASS_SegueConexão)
        .def("GetBase", &kvlSERV::GetBase, py::arg("Index"))
        .def("GetExtra", &kvlSERV::GetExtra, py::arg("Index"));
}

const ServerArea area(BindStack);

}  // namespace

}  // namespace kvlpy
