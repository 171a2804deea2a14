// kvlRES: its properties, columns and rows.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlRES;

namespace {

void BindProperties(ResultClass& res) {
    res.def_readwrite("SqlAnalisaColunas", &kvlRES::SqlAnalisaColunas)
        .def_readwrite("Pai", &kvlRES::Pai)
        .def_readwrite("hConn", &kvlRES::hConn)
        .def_readwrite("hStmt", &kvlRES::hStmt)
        .def_readwrite("ActCom", &kvlRES::ActCom)
        .def_readwrite("erro", &kvlRES::erro)
        .def_readwrite("ErroD", &kvlRES::ErroD)
        .def_readwrite("Armazena", &kvlRES::Armazena)
        .def_readwrite("Armazenou", &kvlRES::Armazenou);
    IntProperty(res, "Indice", &kvlRES::Indice);
    IntProperty(res, "ErroN", &kvlRES::ErroN);
    IntProperty(res, "Cols", &kvlRES::Cols);
    IntProperty(res, "Lins", &kvlRES::Lins);
    IntProperty(res, "Ress", &kvlRES::Ress);
    IntProperty(res, "Tempos", &kvlRES::Tempos);
    IntProperty(res, "LinAfect", &kvlRES::LinAfect);
    IntProperty(res, "TotLins", &kvlRES::TotLins);
}

void BindColumns(ResultClass& res) {
    res.def("AnalisaColunas", &kvlRES::AnalisaColunas)
        .def("AnalisaColunasNomes", &kvlRES::AnalisaColunasNomes)
        .def("ColunasRedim", &kvlRES::ColunasRedim, py::arg("AutoBufferize") = py::none())
        .def("ColBuffer", &kvlRES::ColBuffer, py::arg("nIndex"), py::arg("length"))
        .def("ColTipo", &kvlRES::ColTipo, py::arg("nIndex"))
        .def("ColNome", &kvlRES::ColNome, py::arg("nIndex"))
        .def("ColNomeCompleto", &kvlRES::ColNomeCompleto, py::arg("nIndex"))
        .def("ColLen", &kvlRES::ColLen, py::arg("nIndex"))
        .def("ColTituloLen", &kvlRES::ColTituloLen, py::arg("nIndex"))
        .def("ColNBytes", &kvlRES::ColNBytes, py::arg("nIndex"))
        .def("ColNInt", &kvlRES::ColNInt, py::arg("nIndex"))
        .def("ColNDec", &kvlRES::ColNDec, py::arg("nIndex"))
        .def("ColMax", &kvlRES::ColMax, py::arg("nIndex"))
        .def("ColMin", &kvlRES::ColMin, py::arg("nIndex"))
        .def("ColSeTipoNum", &kvlRES::ColSeTipoNum, py::arg("nIndex"))
        .def("ColSeTipoDec", &kvlRES::ColSeTipoDec, py::arg("nIndex"))
        .def("ColSeNull", &kvlRES::ColSeNull, py::arg("nIndex"))
        .def("ColIndex", &kvlRES::ColIndex, py::arg("sNome"))
        .def("XCol", &kvlRES::XCol, py::arg("sNome"));
}

void BindRows(ResultClass& res) {
    res.def("TemLinhas", &kvlRES::TemLinhas)
        .def("ProximaLinha", &kvlRES::ProximaLinha)
        .def("ProximaLinhaRegista", &kvlRES::ProximaLinhaRegista)
        .def("CarregaTudo", &kvlRES::CarregaTudo, py::arg("Intervalo") = py::none())
        .def("ColReg", &kvlRES::ColReg, py::arg("Linha"), py::arg("Coluna"))
        .def(
            "Col", [](const kvlRES& r, int16_t nIndex) { return r.Col(nIndex); }, py::arg("nIndex"),
            "The value of column nIndex in the current row.")
        .def(
            "Col",
            [](kvlRES& r, int16_t nIndex, const kvl::Variant& value) { r.Col(nIndex, value); },
            py::arg("nIndex"), py::arg("value"), "Replaces the value of column nIndex.")
        .def("PopLinha", &kvlRES::PopLinha)
        .def("PushLinha", &kvlRES::PushLinha)
        .def("ReloadLinha", &kvlRES::ReloadLinha)
        .def("MaisResultados", &kvlRES::MaisResultados, py::arg("ComAnalise") = py::none())
        .def("ComLinhas", &kvlRES::ComLinhas, py::arg("SimOuNão") = py::none())
        .def("Liberta", &kvlRES::Liberta);
}

}  // namespace

void BindResult(ResultClass& res) {
    res.def(py::init<>(), "A result set bound to no server; kvlSERV.Exec fills one.");
    BindProperties(res);
    BindColumns(res);
    BindRows(res);
}

}  // namespace kvlpy
