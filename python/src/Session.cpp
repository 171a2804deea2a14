// kvlSERV: creation, properties, the questions' answerer, opening and closing.

#include "Bindings.h"
#include "ClientObjects.h"

namespace kvlpy {

using kvl::kvlSERV;

namespace {

void BindProperties(ServerClass& serv) {
    serv.def_readwrite("IgDupKey", &kvlSERV::IgDupKey)
        .def_readwrite("ComMsg", &kvlSERV::ComMsg)
        .def_readwrite("ComMsgLog", &kvlSERV::ComMsgLog)
        .def_readwrite("TabelaDePos", &kvlSERV::TabelaDePos)
        .def_readwrite("TabelaDePerm", &kvlSERV::TabelaDePerm)
        .def_readwrite("TabelaDeTabelas", &kvlSERV::TabelaDeTabelas)
        .def_readwrite("TabelaDeListas", &kvlSERV::TabelaDeListas)
        .def_readwrite("TabelaLocDeTabelas", &kvlSERV::TabelaLocDeTabelas)
        .def_readwrite("TabelaModelosLst", &kvlSERV::TabelaModelosLst)
        .def_readwrite("TabelaMotoresLst", &kvlSERV::TabelaMotoresLst)
        .def_readwrite("TabelaPerfisLst", &kvlSERV::TabelaPerfisLst)
        .def_readwrite("SqlMix", &kvlSERV::SqlMix)
        .def_readwrite("SqlAnalisaColunas", &kvlSERV::SqlAnalisaColunas)
        .def_readwrite("Driver", &kvlSERV::Driver)
        .def_readwrite("Server", &kvlSERV::Server)
        .def_readwrite("DSN", &kvlSERV::DSN)
        .def_readwrite("DB", &kvlSERV::DB)
        .def_readwrite("UID", &kvlSERV::UID)
        .def_readwrite("PWD", &kvlSERV::PWD)
        .def_readwrite("Grupo", &kvlSERV::Grupo)
        .def_readwrite("Login", &kvlSERV::Login)
        .def_readwrite("hEnv", &kvlSERV::hEnv)
        .def_readwrite("Aberto", &kvlSERV::Aberto)
        .def_readwrite("ActCom", &kvlSERV::ActCom)
        .def_readwrite("erro", &kvlSERV::erro)
        .def_readwrite("ErroD", &kvlSERV::ErroD)
        .def_readwrite("Log", &kvlSERV::Log)
        .def_readwrite("Aplicação", &kvlSERV::Aplicação)
        .def_readwrite("syscolumns", &kvlSERV::syscolumns)
        .def_readwrite("sysobjects", &kvlSERV::sysobjects);
    IntProperty(serv, "lStackBase", &kvlSERV::lStackBase);
    IntProperty(serv, "Prompt", &kvlSERV::Prompt);
    IntProperty(serv, "ErroN", &kvlSERV::ErroN);
    IntProperty(serv, "ErroNativo", &kvlSERV::ErroNativo);
    IntProperty(serv, "LinAfect", &kvlSERV::LinAfect);
    IntProperty(serv, "NRegistos", &kvlSERV::NRegistos);
    serv.def_property(
        "connectionType", [](const kvlSERV& s) { return static_cast<int32_t>(s.connectionType); },
        [](kvlSERV& s, const py::int_& v) {
            s.connectionType = static_cast<kvl::tqConecçaoTipo>(Narrow<int32_t>(v));
        });
    serv.def_property_readonly("MaxComLar", &kvlSERV::MaxComLar);
    serv.def_property(
        "Dialogos", [](const kvlSERV& s) { return CallableOf(s.Dialogos); },
        [](kvlSERV& s, py::object answer) { s.Dialogos = DialogsOf(std::move(answer)); },
        "Who answers the library's questions: a callable answer(title, text, style) giving "
        "the chosen button's number, or None for the terminal.");
}

// A connect member as Python sees it: both handles it writes are returned.
auto BothHandlesWrittenBack(void (kvlSERV::*connect)(kvl::Handle&, kvl::Handle&)) {
    return [connect](kvlSERV& s, kvl::Handle hConn, kvl::Handle hStmt) {
        (s.*connect)(hConn, hStmt);
        return py::make_tuple(hConn, hStmt);
    };
}

}  // namespace

void BindSession(py::module_& m, ServerClass& serv) {
    for (auto [name, value] : {std::pair{"tq_dbconnectionSQL7", kvl::tq_dbconnectionSQL7},
                               {"tq_dbconnectionSQL6", kvl::tq_dbconnectionSQL6},
                               {"tq_dbconnectionORACLE8", kvl::tq_dbconnectionORACLE8},
                               {"tq_dbconnectionINFORMIX", kvl::tq_dbconnectionINFORMIX},
                               {"tq_dbconnectionACCESS", kvl::tq_dbconnectionACCESS}})
        m.attr(name) = static_cast<int32_t>(value);

    serv.def(py::init([] { return kvlSERV::Create(); }), "A closed session.");
    BindProperties(serv);
    serv.def(
            "connectionType_Get",
            [](const kvlSERV& s, std::string_view Mania) {
                return static_cast<int32_t>(s.connectionType_Get(Mania));
            },
            py::arg("Mania"))
        .def("TemLinhas", &kvlSERV::TemLinhas, py::arg("Tem") = py::none())
        .def("Abre",
             py::overload_cast<std::optional<std::string>, std::optional<std::string>,
                               std::optional<std::string>, std::optional<std::string>,
                               std::optional<std::string>, std::optional<bool>,
                               std::optional<std::string>, std::optional<std::string>>(
                 &kvlSERV::Abre),
             py::arg("sDSN") = py::none(), py::arg("sDB") = py::none(),
             py::arg("sUID") = py::none(), py::arg("sPWD") = py::none(),
             py::arg("sDRIVER") = py::none(), py::arg("BuildLogin") = py::none(),
             py::arg("sLOGIN") = py::none(), py::arg("sSERVER") = py::none())
        .def(
            "AbreAmbiente",
            [](kvlSERV& s, std::optional<kvl::Handle> PonteiroAmbiente) {
                int16_t rc = s.AbreAmbiente(Ref(PonteiroAmbiente));
                return WithOutputs(py::cast(rc), Passed(PonteiroAmbiente));
            },
            py::arg("PonteiroAmbiente") = py::none())
        .def("Conecta", BothHandlesWrittenBack(&kvlSERV::Conecta), py::arg("hConn") = 0,
             py::arg("hStmt") = 0)
        .def("Conecta_old", BothHandlesWrittenBack(&kvlSERV::Conecta_old), py::arg("hConn") = 0,
             py::arg("hStmt") = 0)
        .def("Fecha", &kvlSERV::Fecha)
        .def(
            "ExisteDB",
            [](kvlSERV& s, std::string_view Nome, std::optional<kvl::Variant> Identificação) {
                bool exists = s.ExisteDB(Nome, Ref(Identificação));
                return WithOutputs(py::cast(exists), Passed(Identificação));
            },
            py::arg("Nome"), py::arg("Identificação") = py::none());
}

}  // namespace kvlpy
