// kvlSERV: the error check, the error log file and the SQL log.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindServerErrors(ServerClass& serv) {
    serv.def("ErroTrata", &kvlSERV::ErroTrata, py::arg("Parametro"), py::arg("hConn"),
             py::arg("hStmt"), py::arg("DeOnde"))
        .def("ErroLe", &kvlSERV::ErroLe, py::arg("hConn"), py::arg("hStmt"))
        .def("AcessoNãoTem", &kvlSERV::AcessoNãoTem)
        .def_static("FicheiroDeErros", &kvlSERV::FicheiroDeErros)
        .def_static("Milissegundos", &kvlSERV::Milissegundos)
        .def("HistoriaAdd", &kvlSERV::HistoriaAdd, py::arg("com"), py::arg("Param"),
             py::arg("LF") = py::none())
        .def("Logs", &kvlSERV::Logs, py::arg("nIndex"),
             "SQL log entry nIndex; -1 gives the index of the last entry.");
}

const ServerArea area(BindServerErrors);

}  // namespace

}  // namespace kvlpy
