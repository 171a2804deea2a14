// kvlSERV: the application's table and list collections.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindCollections(ServerClass& serv) {
    serv.def("TabelasColecçõesCarrega", &kvlSERV::TabelasColecçõesCarrega,
             py::arg("FormMSG") = py::none(), py::arg("oLingua") = py::none(),
             py::arg("LeTab") = py::none(), py::arg("LeLst") = py::none(),
             py::arg("DBActual") = py::none(), py::arg("DBMãe") = py::none(),
             "Reads the tables and lists catalogues; FormMSG (any object with Msg) shows the "
             "progress, oLingua (any object with Frase and Palavra) gives the titles.")
        .def("TabelasColecçõesCarrega_CorrigeSQL", &kvlSERV::TabelasColecçõesCarrega_CorrigeSQL,
             py::arg("Texto"), py::arg("Index"))
        .def(
            "TabelasColecçõesItemTab",
            [](const kvlSERV& s, int16_t Index, std::optional<std::string> Loc,
               std::optional<kvl::Variant> Tit, std::optional<kvl::Variant> NTit,
               std::optional<std::string> Lst, std::optional<std::string> LstSQL) {
                s.TabelasColecçõesItemTab(Index, Ref(Loc), Ref(Tit), Ref(NTit), Ref(Lst),
                                          Ref(LstSQL));
                return OutputsOnly(Passed(Loc, Tit, NTit, Lst, LstSQL));
            },
            py::arg("Index"), py::arg("Loc") = py::none(), py::arg("Tit") = py::none(),
            py::arg("NTit") = py::none(), py::arg("Lst") = py::none(),
            py::arg("LstSQL") = py::none(),
            "Gives the fields passed (any value), in argument order; Index 0 gives the upper "
            "index in Tit.")
        .def(
            "TabelasColecçõesItemLst",
            [](const kvlSERV& s, int16_t Index, std::optional<std::string> Tit,
               std::optional<std::string> SQL) {
                s.TabelasColecçõesItemLst(Index, Ref(Tit), Ref(SQL));
                return OutputsOnly(Passed(Tit, SQL));
            },
            py::arg("Index"), py::arg("Tit") = py::none(), py::arg("SQL") = py::none(),
            "Gives the fields passed (any text), in argument order; Index 0 gives the upper "
            "index in Tit.")
        .def("TabelasColecçõesItemTabCount", &kvlSERV::TabelasColecçõesItemTabCount)
        .def("TabelasColecçõesItemLstCount", &kvlSERV::TabelasColecçõesItemLstCount)
        .def("TabelasColecçõesTabLoc", &kvlSERV::TabelasColecçõesTabLoc, py::arg("Index"))
        .def("TabelasColecçõesNTit", &kvlSERV::TabelasColecçõesNTit, py::arg("Index"));
}

const ServerArea area(BindCollections);

}  // namespace

}  // namespace kvlpy
