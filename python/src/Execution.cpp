// kvlSERV: running commands.

#include "Bindings.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindExecution(ServerClass& serv) {
    serv.def(
            "Exec",
            [](kvlSERV& s, std::optional<std::string> SCom, std::shared_ptr<kvl::kvlRES> oRes,
               std::optional<int32_t> PreveLinhas, std::optional<bool> ComAnalise) {
                std::string* command = SCom ? &*SCom : nullptr;
                if (!PreveLinhas) return py::cast(s.Exec(command, oRes, nullptr, ComAnalise));
                // Only a prediction writes the command back: it becomes the count batch.
                py::object res = py::cast(s.Exec(command, oRes, &*PreveLinhas, ComAnalise));
                if (!SCom) return WithOutputs(res, {py::cast(*PreveLinhas)});
                return WithOutputs(res, {py::cast(*SCom), py::cast(*PreveLinhas)});
            },
            py::arg("SCom") = py::none(), py::arg("oRes") = py::none(),
            py::arg("PreveLinhas") = py::none(), py::arg("ComAnalise") = py::none(),
            "Runs SCom (omitted: ActCom) and gives its result set. With PreveLinhas it gives "
            "(result, SCom, PreveLinhas): the count batch run and the predicted row count.")
        .def("Exec_ComPrevNumDeLinhas", &kvlSERV::Exec_ComPrevNumDeLinhas, py::arg("Comando"))
        .def("com", &kvlSERV::com, py::arg("sComando"));
}

const ServerArea area(BindExecution);

}  // namespace

}  // namespace kvlpy
