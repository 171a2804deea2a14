// Reading 100,000 rows of ten columns with TemLinhas and Col, against a plain loop of
// SQLFetch and SQLGetData(SQL_C_CHAR) on the same driver, data and query. TemLinhas
// alone is measured too, to tell the cost of fetching a row from that of Col's copy.

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include <stdexcept>

#include "BenchData.h"
#include "kvl/kvlRES.h"

namespace kvlbench {

namespace {

using BackendOf = const Backend* (*)();

const Backend* SqliteBackend() {
    return &Sqlite();
}
const Backend* PostgresBackend() {
    return Postgres() ? &*Postgres() : nullptr;
}

// What a program written straight on the driver manager holds: one statement.
class PlainConnection {
  public:
    explicit PlainConnection(const std::string& text) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
        std::string t = text;
        SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(t.data()),
                                        SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) throw std::runtime_error("cannot connect");
        connected_ = true;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt);
    }
    ~PlainConnection() {
        if (stmt) SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        if (connected_) SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    SQLHSTMT stmt = SQL_NULL_HSTMT;

  private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
};

void Finish(benchmark::State& state, int64_t rows) {
    if (rows != kReadRows) state.SkipWithError("the query did not give every row");
    state.SetItemsProcessed(state.iterations() * kReadRows);
}

// With readValues false only TemLinhas runs: what reading a row costs before Col.
void Read(benchmark::State& state, BackendOf backend, bool readValues) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    auto s = Open(*b);
    const std::string query = Query(kReadRows);
    int64_t rows = 0;
    for (auto _ : state) {
        auto r = s->Exec(query);
        rows = 0;
        while (r->TemLinhas()) {
            for (int16_t n = 1; readValues && n <= r->Cols; ++n) {
                const kvl::Variant& value = r->Col(n);
                benchmark::DoNotOptimize(value);
            }
            ++rows;
        }
        r->Liberta();
    }
    Finish(state, rows);
}

void ReadWithLibrary(benchmark::State& state, BackendOf backend) {
    Read(state, backend, true);
}
void ReadRowsOnly(benchmark::State& state, BackendOf backend) {
    Read(state, backend, false);
}

void ReadWithOdbc(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    PlainConnection c(b->connectionText);
    std::string query = Query(kReadRows);
    char buffer[1024];
    SQLLEN indicator = 0;
    int64_t rows = 0;
    for (auto _ : state) {
        SQLExecDirect(c.stmt, reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS);
        SQLSMALLINT columns = 0;
        SQLNumResultCols(c.stmt, &columns);
        rows = 0;
        while (SQL_SUCCEEDED(SQLFetch(c.stmt))) {
            for (SQLUSMALLINT n = 1; n <= columns; ++n) {
                SQLGetData(c.stmt, n, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
                benchmark::DoNotOptimize(buffer);
            }
            ++rows;
        }
        SQLFreeStmt(c.stmt, SQL_CLOSE);
    }
    Finish(state, rows);
}

}  // namespace

BENCHMARK_CAPTURE(ReadWithLibrary, SQLite, SqliteBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadRowsOnly, SQLite, SqliteBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadWithOdbc, SQLite, SqliteBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadWithLibrary, PostgreSQL, PostgresBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadRowsOnly, PostgreSQL, PostgresBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadWithOdbc, PostgreSQL, PostgresBackend)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace kvlbench
