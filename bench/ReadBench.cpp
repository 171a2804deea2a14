// The library's reading against the plain loop on the same driver, data and query:
// reading 100,000 rows of ten columns with TemLinhas and Col; storing them with
// CarregaTudo and walking the stored rows; and ten thousand tiny statements (SELECT 1
// executed, read and released). Before timing, each benchmark checks that the library
// and the plain loop read the same text, every value whole.

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "BenchData.h"
#include "PlainOdbc.h"
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

constexpr int kTinyStatements = 10'000;
const std::string kTiny = "SELECT 1";

// Every value of the query's rows through the library; with store, through the stored rows.
template <typename Visit>
[[gnu::noinline]] int64_t ReadLibrary(kvl::kvlSERV& s, const std::string& query, bool store,
                                      Visit&& visit) {
    auto r = s.Exec(query);
    if (store) r->CarregaTudo();
    int64_t rows = 0;
    while (r->TemLinhas()) {
        for (int16_t n = 1; n <= r->Cols; ++n) visit(r->Col(n));
        ++rows;
    }
    r->Liberta();
    return rows;
}

template <typename Visit>
[[gnu::noinline]] int64_t ReadPlain(PlainConnection& c, const std::string& query, Visit&& visit) {
    if (!c.Execute(query)) throw std::runtime_error("the plain query failed");
    int64_t rows = 0;
    while (c.Fetch()) {
        for (SQLSMALLINT n = 1; n <= c.Columns(); ++n) visit(c.Value(static_cast<SQLUSMALLINT>(n)));
        ++rows;
    }
    c.Close();
    return rows;
}

// Whether the library and the plain loop read the same text; says why not in state.
bool SameText(benchmark::State& state, const Backend& b, const std::string& query, bool store) {
    auto s = Open(b);
    PlainConnection c(b.connectionText);
    Digest library, plain;
    ReadLibrary(*s, query, store, [&](const kvl::Variant& v) { library.Add(*v.IfString()); });
    ReadPlain(c, query, [&](std::string_view v) { plain.Add(v); });
    state.counters["text_MB"] = static_cast<double>(plain.bytes) / 1e6;
    if (library == plain) return true;
    state.SkipWithError(("the library read " + std::to_string(library.bytes) +
                         " bytes of text, the plain loop " + std::to_string(plain.bytes))
                            .c_str());
    return false;
}

void Finish(benchmark::State& state, int64_t rows, int64_t expected) {
    if (rows != expected) state.SkipWithError("the query did not give every row");
    state.SetItemsProcessed(state.iterations() * expected);
}

// Mode 0 reads every value, 1 only fetches the rows, 2 stores them and walks the store.
void ReadWithLibrary(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    const std::string query = Query(kReadRows);
    const auto mode = state.range(0);
    if (mode != 1 && !SameText(state, *b, query, mode == 2)) return;
    auto s = Open(*b);
    int64_t rows = 0;
    for (auto _ : state) {
        rows = ReadLibrary(*s, query, mode == 2, [&](const kvl::Variant& v) {
            if (mode != 1) benchmark::DoNotOptimize(&v);
        });
    }
    Finish(state, rows, kReadRows);
}

void ReadWithOdbc(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    PlainConnection c(b->connectionText);
    const std::string query = Query(kReadRows);
    int64_t rows = 0;
    for (auto _ : state)
        rows = ReadPlain(c, query, [](std::string_view v) { benchmark::DoNotOptimize(v.data()); });
    Finish(state, rows, kReadRows);
}

void TinyWithLibrary(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    auto s = Open(*b);
    int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int i = 0; i < kTinyStatements; ++i)
            rows += ReadLibrary(*s, kTiny, false,
                                [](const kvl::Variant& v) { benchmark::DoNotOptimize(&v); });
    }
    Finish(state, rows, kTinyStatements);
}

void TinyWithOdbc(benchmark::State& state, BackendOf backend) {
    const Backend* b = backend();
    if (!b) return state.SkipWithError("backend not reachable");
    PlainConnection c(b->connectionText);
    int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int i = 0; i < kTinyStatements; ++i)
            rows +=
                ReadPlain(c, kTiny, [](std::string_view v) { benchmark::DoNotOptimize(v.data()); });
    }
    Finish(state, rows, kTinyStatements);
}

}  // namespace

#define KVL_BENCH_BOTH(name, ...)                              \
    BENCHMARK_CAPTURE(name, SQLite, SqliteBackend)             \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(name, PostgreSQL, PostgresBackend)       \
    __VA_ARGS__->Unit(benchmark::kMillisecond)->UseRealTime()

KVL_BENCH_BOTH(ReadWithLibrary, ->ArgName("mode")->Arg(0)->Arg(1)->Arg(2));
KVL_BENCH_BOTH(ReadWithOdbc, );
KVL_BENCH_BOTH(TinyWithLibrary, );
KVL_BENCH_BOTH(TinyWithOdbc, );

}  // namespace kvlbench
