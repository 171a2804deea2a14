// kvlSERV: windows placed where the user last left them.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;
using kvl::Variant;

namespace {

void BindWindowPositions(ServerClass& serv) {
    serv.def("TabelaPosCarrega", &kvlSERV::TabelaPosCarrega)
        .def(
            "TabelaPosLe",
            [](kvlSERV& s, const Variant& oJanela, std::optional<Variant> sTitulo,
               std::optional<Variant> sObs, std::optional<Variant> sTabGrelha,
               std::optional<Variant> sApp, std::optional<Variant> SubContexto) {
                bool found = s.TabelaPosLe(oJanela, Ref(sTitulo), Ref(sObs), Ref(sTabGrelha),
                                           std::move(sApp), std::move(SubContexto));
                return WithOutputs(py::cast(found), Passed(sTitulo, sObs, sTabGrelha));
            },
            py::arg("oJanela"), py::arg("sTitulo") = py::none(), py::arg("sObs") = py::none(),
            py::arg("sTabGrelha") = py::none(), py::arg("sApp") = py::none(),
            py::arg("SubContexto") = py::none(),
            "Places oJanela as it was saved; gives whether it had a record, followed by "
            "sTitulo (cut before its first '('), sObs and sTabGrelha when passed.")
        .def(
            "TabelaPosGrava",
            [](kvlSERV& s, const Variant& oJanela, std::optional<Variant> sTitulo,
               std::optional<Variant> sObs, std::optional<Variant> sTabGrelha,
               std::optional<Variant> sApp, std::optional<bool> GravaSoObs,
               std::optional<Variant> SubContexto) {
                s.TabelaPosGrava(oJanela, Ref(sTitulo), Ref(sObs), Ref(sTabGrelha), std::move(sApp),
                                 GravaSoObs, std::move(SubContexto));
                // Only the title is written back; the texts kept are only read.
                return OutputsOnly(Passed(sTitulo));
            },
            py::arg("oJanela"), py::arg("sTitulo") = py::none(), py::arg("sObs") = py::none(),
            py::arg("sTabGrelha") = py::none(), py::arg("sApp") = py::none(),
            py::arg("GravaSoObs") = py::none(), py::arg("SubContexto") = py::none(),
            "Takes oJanela's place, size and state (leaving it hidden); gives sTitulo, cut "
            "before its first '(', when passed.")
        .def("TabelaPosGravaTabela", &kvlSERV::TabelaPosGravaTabela,
             py::arg("LinhaALinha") = py::none())
        .def(
            "TabelaPosAct",
            [](kvlSERV& s, const Variant& oJanela, std::optional<Variant> sTitulo,
               std::optional<Variant> sTituloAnterior) {
                bool found = s.TabelaPosAct(oJanela, Ref(sTitulo), Ref(sTituloAnterior));
                return WithOutputs(py::cast(found), Passed(sTitulo));
            },
            py::arg("oJanela"), py::arg("sTitulo") = py::none(),
            py::arg("sTituloAnterior") = py::none(),
            "Reads oJanela's record again; gives whether the table had it, followed by "
            "sTitulo when passed.");
}

const ServerArea area(BindWindowPositions);

}  // namespace

}  // namespace kvlpy
