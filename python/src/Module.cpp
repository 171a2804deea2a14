// The module kvl2005: the classes kvlSERV and kvlRES for Python callers, and connect, the
// standard database interface over the library's prepared commands and typed values.

#include "Bindings.h"
#include "DbApi.h"

PYBIND11_MODULE(kvl2005, m) {
    namespace py = pybind11;
    m.doc() = R"(Database access through ODBC: kvlSERV is a working session with a database
server, kvlRES one result set. Members and properties keep their names, accented ones
included; optional arguments are keyword arguments (None means omitted). A by-reference
argument that a member writes back is returned: the member gives a tuple of its own result
followed by those arguments in argument order (a member without a result of its own gives
the argument alone, or the tuple of them); an optional one is returned only when passed.
Variants are Python values: None (empty), bool, int, float, str, Array, or an object.
Client objects are plain Python objects called by member name: any object with Clear and
AddItem is a list control, any object with Msg a progress form, with Frase and Palavra a
language, with Caption, WindowState, Left, Top, Width, Height, Visible, BorderStyle, Move and
Controls a window (its controls have Tag and Enabled); a member the object lacks is error
438, and a property the library sets is assigned, so it must exist already. An object is a
menu item or a multiple-document parent when its IsMenuItem or IsMdiParent attribute is
true (false without one). Run-time errors raise kvl2005.Error with its number.

connect() opens a connection of the standard database interface (PEP 249): cursors with
"?" parameters, typed values, transactions, and the standard exceptions, all below
kvl2005.Error, carrying the driver's sqlstate, native code and message.)";

    kvlpy::BindErrors(m);
    kvlpy::BindArray(m);
    py::class_<kvl::Object, std::shared_ptr<kvl::Object>>(m, "Object",
                                                          "Base of the library's classes.");
    kvlpy::ServerClass serv(m, "kvlSERV", "One working session with a database server.");
    kvlpy::ResultClass res(m, "kvlRES", "One result set, bound to a statement slot of its server.");
    kvlpy::BindSession(m, serv);
    kvlpy::ServerArea::BindAll(serv);
    kvlpy::BindResult(res);
    kvlpy::dbapi::Bind(m);
}
