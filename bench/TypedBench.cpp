// The typed reading against plain ODBC loops, on the same data and query as ReadBench
// (100,000 rows of ten columns): the library's TemLinhasTipadas and ColTipada at several rows
// per block, and a plain loop that binds every column as text and fetches 1,000 rows a call
// (its yardstick, the per-cell loop, is ReadBench's ReadWithOdbc). Before timing, each
// checks that it reads the same values as the per-cell loop, every value whole. Then the peak
// memory of reading wide text columns, typed in blocks and per cell.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "BenchData.h"
#include "BlockOdbc.h"
#include "PlainOdbc.h"
#include "Readers.h"
#include "kvl/kvlRES.h"

namespace kvlbench {

namespace {

using BackendOf = const Backend* (*)();

// The library's own choice of rows per block.
constexpr int32_t kDefaultRows = 1000;

const Backend* SqliteBackend() {
    return &Sqlite();
}
const Backend* PostgresBackend() {
    return Postgres() ? &*Postgres() : nullptr;
}

// A value as every reader can give it: a number as the shortest text of its double, so
// "1.0", "1" and 1.0 agree; anything else as it is.
void AddCanonical(Checksum& digest, std::string_view text, bool isNull = false) {
    double number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return digest.Add(text, isNull);
    char shortest[32];
    auto out = std::to_chars(shortest, shortest + sizeof shortest, number);
    digest.Add({shortest, static_cast<size_t>(out.ptr - shortest)}, isNull);
}

void AddTyped(Checksum& digest, const kvl::TypedValue& value) {
    char text[32];
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>) {
                AddCanonical(digest, v);
            } else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, double>) {
                auto out = std::to_chars(text, text + sizeof text, v);
                AddCanonical(digest, {text, static_cast<size_t>(out.ptr - text)});
            } else if constexpr (std::is_same_v<T, kvl::Date>) {
                int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d", v.year, v.month, v.day);
                digest.Add({text, static_cast<size_t>(n)}, false);
            } else if constexpr (std::is_same_v<T, std::monostate>) {
                digest.Add({}, true);
            } else {
                throw std::logic_error("a type the benchmark's data does not hold");
            }
        },
        value);
}

template <typename Visit>
[[gnu::noinline]] int64_t ReadTyped(kvl::kvlSERV& s, const std::string& query, int32_t rowsPerBlock,
                                    Visit&& visit) {
    auto r = s.Exec(query);
    int64_t rows = 0;
    while (r->TemLinhasTipadas(rowsPerBlock)) {
        for (int16_t n = 1; n <= r->Cols; ++n) visit(r->ColTipada(n));
        ++rows;
    }
    r->Liberta();
    return rows;
}

template <typename Visit>
[[gnu::noinline]] int64_t ReadBlocks(PlainConnection& c, const std::string& query, Visit&& visit) {
    BlockReader reader(c);
    if (!reader.Execute(query)) throw std::runtime_error("the block query failed");
    int64_t rows = 0;
    while (SQLULEN fetched = reader.Fetch()) {
        for (SQLULEN row = 0; row < fetched; ++row)
            for (SQLUSMALLINT n = 1; n <= static_cast<SQLUSMALLINT>(reader.Columns()); ++n)
                visit(reader.Value(row, n));
        rows += static_cast<int64_t>(fetched);
    }
    return rows;
}

// Whether the typed reading and the block loop read the values the per-cell loop reads.
bool SameValues(benchmark::State& state, const Backend& b, const std::string& query) {
    auto s = Open(b);
    PlainConnection c(b.connectionText);
    Checksum typed, blocks, cells;
    ReadTyped(*s, query, kDefaultRows, [&](const kvl::TypedValue& v) { AddTyped(typed, v); });
    ReadBlocks(c, query, [&](std::string_view v) { AddCanonical(blocks, v); });
    ReadPlain(c, query, [&](std::string_view v, bool isNull) { AddCanonical(cells, v, isNull); });
    if (typed == cells && blocks == cells) return true;
    state.SkipWithError(typed == cells ? "the block loop read other values"
                                       : "the typed reading read other values");
    return false;
}

void Finish(benchmark::State& state, int64_t rows) {
    if (rows != kReadRows) state.SkipWithError("the query did not give every row");
    state.SetItemsProcessed(state.iterations() * rows);
}

void ReadWithTypes(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    const std::string query = Query(kReadRows);
    if (!SameValues(state, *b, query)) return;
    auto s = Open(*b);
    const auto rowsPerBlock = static_cast<int32_t>(state.range(0));
    int64_t rows = 0;
    for (auto _ : state) {
        rows = ReadTyped(*s, query, rowsPerBlock,
                         [](const kvl::TypedValue& v) { benchmark::DoNotOptimize(&v); });
    }
    Finish(state, rows);
}

void ReadWithBlocks(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    PlainConnection c(b->connectionText);
    const std::string query = Query(kReadRows);
    int64_t rows = 0;
    for (auto _ : state)
        rows = ReadBlocks(c, query, [](std::string_view v) { benchmark::DoNotOptimize(v.data()); });
    Finish(state, rows);
}

// Ten text columns of 1,000 characters, so 40 KB bound a row: blocks of a thousand rows
// would bind 40 MB.
const std::string kWide = [] {
    std::string select = "SELECT ";
    for (int n = 1; n <= 10; ++n)
        select += (n > 1 ? ", " : "") + std::string("repeat('x', 1000)::varchar(1000) AS c") +
                  std::to_string(n);
    return select + " FROM generate_series(1, 2000)";
}();

double StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size()));
    throw std::runtime_error("no " + field + " in /proc/self/status");
}

// The growth of the peak resident size while read runs (the peak starts over from the
// resident size now), in MB.
template <typename Read>
double PeakGrowth(Read&& read) {
    std::ofstream("/proc/self/clear_refs") << "5";
    const double base = StatusKilobytes("VmRSS:");
    read();
    return (StatusKilobytes("VmHWM:") - base) / 1000;
}

// Mode 0 reads the wide columns typed, 1 per cell; the driver keeps the whole result in
// memory either way (psqlODBC without UseDeclareFetch), so the difference is the block's.
void ReadWide(benchmark::State& state) {
    const Backend* b = PostgresBackend();
    if (!b) return state.SkipWithError("backend not reachable");
    auto s = Open(*b);
    PlainConnection c(b->connectionText);
    double peak = 0;
    for (auto _ : state) {
        peak = std::max(peak, PeakGrowth([&] {
                            auto ignore = [](const auto& v) { benchmark::DoNotOptimize(&v); };
                            if (state.range(0) == 0) {
                                ReadTyped(*s, kWide, kDefaultRows, ignore);
                            } else {
                                ReadPlain(c, kWide, [](std::string_view v, bool) {
                                    benchmark::DoNotOptimize(v.data());
                                });
                            }
                        }));
    }
    state.counters["peak_MB"] = peak;
}

}  // namespace

#define KVL_TYPED_BOTH(name, ...)                              \
    BENCHMARK_CAPTURE(name, SQLite, SqliteBackend)             \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(name, PostgreSQL, PostgresBackend)       \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime()

KVL_TYPED_BOTH(ReadWithTypes, ->ArgName("rows")->Arg(1000)->Arg(100)->Arg(5000));
KVL_TYPED_BOTH(ReadWithBlocks, );
BENCHMARK(ReadWide)->ArgName("cells")->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace kvlbench
