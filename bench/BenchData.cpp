#include "BenchData.h"

#include <cstdlib>
#include <stdexcept>

#include "LocalDatabases.h"
#include "kvl/kvlRES.h"

namespace kvlbench {

namespace {

// Five texts of varied length, accented letters included, four numbers and a date.
constexpr const char* kColumns =
    "id, nome, freguesia, codigo, nota, tipo, comprimento, largura, numero, desde";

// The rows from a source of numbers i; the date expression differs between the two.
std::string SelectFrom(const std::string& source, const std::string& date) {
    return "SELECT id, 'Rua ' || i || ' de São João da Ribeira' AS nome, "
           "'Freguesia ' || (i % 97) AS freguesia, 'C' || (i * 7919 % 100000) AS codigo, "
           "CASE WHEN i % 3 = 0 THEN 'Praça' ELSE 'Avenida das Descobertas' END AS nota, "
           "CASE WHEN i % 2 = 0 THEN 'R' ELSE 'Av' END AS tipo, "
           "(i % 1000) * 1.25 AS comprimento, (i % 30) + 0.5 AS largura, "
           "i % 500 AS numero, " +
           date + " AS desde FROM " + source;
}

// Named apart from the 100,000-row table earlier benchmarks kept on the same server, so
// that a checkout which still fills that one never refills this one under a run.
constexpr const char* kTableName = "kvl_leitura_m";
const std::string kTable =
    std::string(kTableName) +
    " (id INTEGER PRIMARY KEY, nome VARCHAR(60), freguesia VARCHAR(20), "
    "codigo VARCHAR(10), nota VARCHAR(30), tipo VARCHAR(4), comprimento REAL, largura REAL, "
    "numero INTEGER, desde DATE)";

void Run(kvl::kvlSERV& s, const std::string& sql) {
    auto r = s.Exec(sql);
    if (r && r->erro) throw std::runtime_error(r->ErroD + "\n" + sql);
}

int32_t Count(kvl::kvlSERV& s, const std::string& table) {
    s.ComMsg = false;  // a missing table is an answer here, not a failure
    auto r = s.Exec("SELECT count(*) FROM " + table);
    s.ComMsg = true;
    return r && !r->erro && r->TemLinhas() ? r->Col(1).ToInt32() : -1;
}

std::string& SqliteFile() {
    static std::string file;
    return file;
}

void FillSqlite(const Backend& b) {
    auto s = Open(b);
    if (Count(*s, kTableName) == kTableRows) return;
    Run(*s, std::string("DROP TABLE IF EXISTS ") + kTableName);
    Run(*s, "CREATE TABLE " + kTable);
    Run(*s, std::string("INSERT INTO ") + kTableName +
                " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                std::to_string(kTableRows) + ") " +
                SelectFrom("(SELECT i AS id, i FROM n)",
                           "date('1900-01-01', '+' || (i % 40000) || ' days')"));
}

void FillPostgres(const Backend& b) {
    auto s = Open(b);
    if (Count(*s, kTableName) == kTableRows) return;
    Run(*s, std::string("DROP TABLE IF EXISTS ") + kTableName);
    Run(*s, "CREATE TABLE " + kTable);
    Run(*s, std::string("INSERT INTO ") + kTableName + " " +
                // i in 64 bits, as SQLite's, so that i * 7919 does not overflow
                SelectFrom("(SELECT i AS id, i FROM generate_series(CAST(1 AS bigint), " +
                               std::to_string(kTableRows) + ") AS g(i)) AS n",
                           "DATE '1900-01-01' + CAST(i % 40000 AS integer)"));
}

}  // namespace

std::string Query(int32_t rows) {
    return std::string("SELECT ") + kColumns + " FROM " + kTableName +
           " WHERE id <= " + std::to_string(rows);
}

void UseSqliteFile(const std::string& file) {
    SqliteFile() = file;
}

const Backend& Sqlite() {
    static const Backend b = [] {
        kvltest::UsePrivateOdbcIni();
        // KVL_BENCH_SQLITE keeps the data between processes (bench/run runs each benchmark
        // in a process of its own); by default it lives as long as this process.
        if (SqliteFile().empty())
            SqliteFile() =
                kvltest::Env("KVL_BENCH_SQLITE", (kvltest::TestDir() / "bench.sqlite").c_str());
        Backend backend{"SQLite", "DRIVER=SQLite3;DATABASE=" + SqliteFile()};
        FillSqlite(backend);
        return backend;
    }();
    return b;
}

const std::string& SqlitePath() {
    Sqlite();
    return SqliteFile();
}

const std::optional<Backend>& Postgres() {
    static const std::optional<Backend> b = []() -> std::optional<Backend> {
        kvltest::UsePrivateOdbcIni();
        Backend backend{"PostgreSQL", kvltest::PostgresConnectionText()};
        try {
            FillPostgres(backend);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        return backend;
    }();
    return b;
}

const Backend* Find(const std::string& name) {
    if (name == "SQLite") return &Sqlite();
    if (name == "PostgreSQL" && Postgres()) return &*Postgres();
    return nullptr;
}

std::shared_ptr<kvl::kvlSERV> Open(const Backend& b) {
    auto s = kvl::kvlSERV::Create();
    s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
            b.connectionText);
    if (!s->Aberto) throw std::runtime_error("cannot open " + b.name);
    return s;
}

}  // namespace kvlbench
