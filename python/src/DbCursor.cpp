// The Cursor of PEP 249: a command prepared on its connection's link, prepared again only
// when the text changes, and its rows read typed.

#include <pybind11/stl.h>

#include "DbApi.h"

namespace kvlpy::dbapi {

namespace {

class Cursor final : public CommandHolder {
  public:
    static constexpr size_t kRowsPerCall = 1000;

    explicit Cursor(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

    void Execute(const std::string& sql, py::handle params) {
        kvl::kvlRES& command = Prepared(sql);
        Run(command, Parameters(params));
        Describe();
        // Rows a query gives are not counted ahead of their reading.
        rowcount = results_ ? -1 : command_->LinAfect;
    }

    void ExecuteMany(const std::string& sql, py::iterable paramsSeq) {
        kvl::kvlRES& command = Prepared(sql);
        int64_t changed = 0;
        std::vector<std::vector<kvl::TypedValue>> rows;
        auto run = [&] {
            {
                py::gil_scoped_release unlocked;
                command.ExecutaLinhas(rows);
            }
            changed = changed < 0 || command.LinAfect < 0 ? -1 : changed + command.LinAfect;
            rows.clear();
        };
        // Sent to the driver in parts, which bounds the memory the converted values take.
        for (py::handle params : paramsSeq) {
            rows.push_back(Parameters(params));
            if (rows.size() == kRowsPerCall) run();
        }
        if (!rows.empty()) run();
        // Rows of such commands are not read: PEP 249 leaves them undefined.
        rowcount = changed;
    }

    py::object FetchOne() {
        kvl::kvlRES& r = Results();
        if (!r.TemLinhasTipadas()) return py::none();
        return Row(r);
    }

    py::list FetchMany(std::optional<int64_t> size) {
        kvl::kvlRES& r = Results();
        py::list rows;
        for (int64_t n = size.value_or(arraysize); n > 0 && r.TemLinhasTipadas(); --n)
            rows.append(Row(r));
        return rows;
    }

    py::list FetchAll() {
        kvl::kvlRES& r = Results();
        py::list rows;
        while (r.TemLinhasTipadas()) rows.append(Row(r));
        return rows;
    }

    py::object Next() {
        py::object row = FetchOne();
        if (row.is_none()) throw py::stop_iteration();
        return row;
    }

    py::object NextSet() {
        CheckOpen();
        if (!command_) throw DbError(Failure::kProgramming, "no command has run");
        results_ = false;
        description = py::none();
        if (!command_->MaisResultados(false)) return py::none();
        Describe();
        rowcount = results_ ? -1 : command_->LinAfect;
        return py::bool_(true);
    }

    void ReleaseCommand() override {
        command_.reset();
        sql_.clear();
        results_ = false;
    }

    void Close() {
        ReleaseCommand();
        closed_ = true;
    }

    const std::shared_ptr<Connection>& connection() const { return connection_; }

    py::object description = py::none();
    int64_t rowcount = -1;
    int64_t arraysize = 1;

  private:
    void CheckOpen() const {
        if (closed_) throw DbError(Failure::kInterface, "the cursor is closed");
        connection_->Link();
    }

    // The command of this text, prepared when it is not the last one.
    kvl::kvlRES& Prepared(const std::string& sql) {
        CheckOpen();
        results_ = false;
        description = py::none();
        kvl::kvlLIG& link = connection_->LinkForCommand();
        if (!command_ || sql != sql_) {
            command_.reset();
            command_ = link.Prepara(sql);
            sql_ = sql;
        }
        return *command_;
    }

    static void Run(kvl::kvlRES& command, const std::vector<kvl::TypedValue>& values) {
        py::gil_scoped_release unlocked;
        command.Executa(values);
    }

    void Describe() {
        results_ = command_->Cols > 0;
        if (!results_) {
            description = py::none();
            return;
        }
        py::tuple columns(command_->Cols);
        for (int16_t n = 1; n <= command_->Cols; ++n) {
            const kvl::odbc::ColumnDescription& c = command_->ColDescrição(n);
            py::object nullable = py::none();
            if (c.nullable != 2) nullable = py::bool_(c.nullable == 1);
            columns[static_cast<size_t>(n - 1)] =
                py::make_tuple(c.name, c.sqlType, py::none(), c.size, c.size, c.decimals, nullable);
        }
        description = columns;
    }

    kvl::kvlRES& Results() {
        CheckOpen();
        if (!results_) throw DbError(Failure::kProgramming, "no result set to read");
        return *command_;
    }

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<kvl::kvlRES> command_;
    std::string sql_;
    bool results_ = false;  // the command gave a result set, which the fetches read
    bool closed_ = false;
};

}  // namespace

void BindCursor(py::module_& m, ConnectionClass& conn) {
    conn.def(
        "cursor",
        [](const std::shared_ptr<Connection>& c) {
            c->Link();
            auto cursor = std::make_shared<Cursor>(c);
            c->Track(cursor);
            return cursor;
        },
        "A new cursor on this connection.");
    py::class_<Cursor, std::shared_ptr<Cursor>>(
        m, "Cursor", "Runs commands on its connection and reads their rows.")
        .def(
            "execute",
            [](py::object self, const std::string& sql, py::handle params) {
                self.cast<Cursor&>().Execute(sql, params);
                return self;
            },
            py::arg("operation"), py::arg("parameters") = py::tuple(),
            "Runs the command with its \"?\" markers bound to the parameters, in order; the "
            "same text as the last is run again without preparing it. Gives the cursor.")
        .def("executemany", &Cursor::ExecuteMany, py::arg("operation"),
             py::arg("seq_of_parameters"),
             "Prepares the command once and runs it with each sequence of parameters, sent to "
             "the driver a thousand at a time as arrays of parameter sets.")
        .def("fetchone", &Cursor::FetchOne)
        .def("fetchmany", &Cursor::FetchMany, py::arg("size") = py::none())
        .def("fetchall", &Cursor::FetchAll)
        .def("nextset", &Cursor::NextSet,
             "Moves to the command's next result: True, or None when there is none.")
        .def("close", &Cursor::Close)
        .def(
            "setinputsizes", [](Cursor&, py::handle) {}, py::arg("sizes"))
        .def(
            "setoutputsize", [](Cursor&, py::handle, py::handle) {}, py::arg("size"),
            py::arg("column") = py::none())
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &Cursor::Next)
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](Cursor& c, py::handle, py::handle, py::handle) { c.Close(); })
        .def_readonly("description", &Cursor::description)
        .def_readonly("rowcount", &Cursor::rowcount)
        .def_readwrite("arraysize", &Cursor::arraysize)
        .def_property_readonly("connection", &Cursor::connection);
}

}  // namespace kvlpy::dbapi
