#pragma once
// The readers compared, each reading every value of a query's rows as text: the plain loop
// of ODBC calls, the library's TemLinhas + Col, and CarregaTudo followed by a walk of the
// stored rows with TemLinhas + Col. Each hands every value to a visitor: the benchmarks
// time them with one that only keeps the value from being optimised away, and check them
// first with one that adds it to a checksum. Another reader (a typed one, say) is checked
// the same way: its checksum through SameAsPlain.

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "BenchData.h"
#include "Checksum.h"
#include "PlainOdbc.h"
#include "kvl/kvlRES.h"

namespace kvlbench {

// visit(std::string_view value, bool isNull) for every value.
template <typename Visit>
[[gnu::noinline]] int64_t ReadPlain(PlainConnection& c, const std::string& query, Visit&& visit) {
    if (!c.Execute(query)) throw std::runtime_error("the plain query failed");
    int64_t rows = 0;
    while (c.Fetch()) {
        for (SQLSMALLINT n = 1; n <= c.Columns(); ++n) {
            bool isNull = false;
            std::string_view value = c.Value(static_cast<SQLUSMALLINT>(n), isNull);
            visit(value, isNull);
        }
        ++rows;
    }
    c.Close();
    return rows;
}

// The rows of r through TemLinhas, visit(r, column) for every value; then r is released.
template <typename Visit>
int64_t Walk(kvl::kvlRES& r, Visit& visit) {
    int64_t rows = 0;
    while (r.TemLinhas()) {
        for (int16_t n = 1; n <= r.Cols; ++n) visit(r, n);
        ++rows;
    }
    r.Liberta();
    return rows;
}

// The query run through the library; throws when it fails.
inline std::shared_ptr<kvl::kvlRES> Execute(kvl::kvlSERV& s, const std::string& query) {
    auto r = s.Exec(query);
    if (!r || r->erro) throw std::runtime_error("the library's query failed");
    return r;
}

// visit(const kvl::kvlRES&, int16_t column) for every value.
template <typename Visit>
[[gnu::noinline]] int64_t ReadCells(kvl::kvlSERV& s, const std::string& query, Visit&& visit) {
    return Walk(*Execute(s, query), visit);
}

template <typename Visit>
[[gnu::noinline]] int64_t ReadStored(kvl::kvlSERV& s, const std::string& query, Visit&& visit) {
    auto r = Execute(s, query);
    r->CarregaTudo();
    return Walk(*r, visit);
}

// The visitors of the timed passes: each value is only kept from being optimised away.
inline constexpr auto kKeepPlain = [](std::string_view v, bool) {
    benchmark::DoNotOptimize(v.data());
};
inline constexpr auto kKeepCell = [](const kvl::kvlRES& r, int16_t n) {
    benchmark::DoNotOptimize(&r.Col(n));
};

// The checksums of the three readers' readings of query.
Checksum PlainChecksum(const Backend& b, const std::string& query);
Checksum CellsChecksum(const Backend& b, const std::string& query);
Checksum StoredChecksum(const Backend& b, const std::string& query);

// Labels the benchmark with the reader's checksum; when the plain loop's differs, skips
// the benchmark saying so and answers false.
bool SameAsPlain(benchmark::State& state, const Backend& b, const std::string& query,
                 const Checksum& reader);

// Registers a benchmark taking the backend's name once for each backend; the rest of the
// registration (arguments, ->Apply(...)) follows the name.
#define KVL_BENCH_BOTH(name, ...)                              \
    BENCHMARK_CAPTURE(name, SQLite, "SQLite")                  \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(name, PostgreSQL, "PostgreSQL")          \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime()

}  // namespace kvlbench
