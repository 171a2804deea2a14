// The reliability benchmarks: long runs whose figures are resources before and after, not
// times. Each prints one line of figures and exits non-zero when a run left something behind.
//
//   kvl_reliability soak sqlite|postgres [CYCLES]   open/close with three base slots
//   kvl_reliability exec sqlite|postgres [COUNT]    Exec + read + release of a one-row query
//   kvl_reliability lostlink [CYCLES]               a backend terminated during a read, Yes

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "Databases.h"
#include "Workloads.h"
#include "kvl/kvlRES.h"

namespace {

// Warm-up before the first measure: the drivers, the driver manager and the allocator settle.
constexpr int kWarmUp = 100;
constexpr int64_t kMaxGrowth = 1 << 20;

struct Resources {
    int32_t fds = kvlrel::OpenFileDescriptors();
    int64_t rss = kvlrel::ResidentBytes();
};

std::shared_ptr<kvl::kvlSERV> Open(const std::string& login, int16_t slots = 1) {
    auto s = kvl::kvlSERV::Create();
    s->Dialogos = std::make_shared<kvlrel::ReconnectDialogs>();
    s->lStackBase = slots;
    s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false, login);
    if (!s->Aberto) {
        std::fprintf(stderr, "cannot open %s: %s\n", login.c_str(), s->ErroD.c_str());
        std::exit(1);
    }
    return s;
}

// Runs step count times after the warm-up; prints the figures against the limits.
int Measure(const char* what, int count, const std::function<bool()>& step,
            const std::function<int32_t()>& backends = nullptr) {
    for (int i = 0; i < kWarmUp; ++i)
        if (!step()) return 1;
    const Resources before;
    const int32_t backendsBefore = backends ? backends() : 0;
    int failed = 0;
    for (int i = 0; i < count; ++i) failed += step() ? 0 : 1;
    const Resources after;
    const int32_t backendsAfter = backends ? backends() : 0;
    const int64_t growth = after.rss - before.rss;
    std::printf("%-44s %9d  failed %d  fds %d -> %d  rss %.2f -> %.2f MB (growth %+.3f MB)", what,
                count, failed, before.fds, after.fds, before.rss / 1048576.0, after.rss / 1048576.0,
                growth / 1048576.0);
    if (backends) std::printf("  backends %d -> %d", backendsBefore, backendsAfter);
    std::printf("\n");
    return failed == 0 && after.fds == before.fds && growth < kMaxGrowth &&
                   backendsAfter == backendsBefore
               ? 0
               : 1;
}

// The server ends a backend a moment after its client disconnected: the count is read once
// it stops falling (at most ten seconds).
int32_t SettledBackends(kvl::kvlSERV& observer, const std::string& name) {
    int32_t n = kvlrel::Backends(observer, name);
    for (int i = 0; i < 200 && n > 0; ++i) {
        usleep(50'000);
        n = kvlrel::Backends(observer, name);
    }
    return n;
}

int Soak(const std::string& sqlite, bool postgres, int cycles) {
    const std::string name = "kvlsoak" + std::to_string(getpid());
    const std::string login =
        postgres ? kvltest::PostgresConnectionText(kvlrel::ApplicationNameSetting(name)) : sqlite;
    std::shared_ptr<kvl::kvlSERV> observer;
    if (postgres) observer = Open(kvltest::PostgresConnectionText());
    auto session = kvl::kvlSERV::Create();
    return Measure(
        postgres ? "open/close, 3 base slots, PostgreSQL" : "open/close, 3 base slots, SQLite",
        cycles,
        [&] {
            session->lStackBase = 3;
            session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                          false, login);
            const bool open = session->Aberto && session->Stack() == 3;
            session->Fecha();
            return open;
        },
        postgres ? std::function<int32_t()>([&] { return SettledBackends(*observer, name); })
                 : nullptr);
}

int Exec(const std::string& sqlite, bool postgres, int count) {
    auto session = Open(postgres ? kvltest::PostgresConnectionText() : sqlite);
    return Measure(postgres ? "Exec + read + release, PostgreSQL" : "Exec + read + release, SQLite",
                   count, [&] {
                       auto r = session->Exec("SELECT 42");
                       const bool read =
                           r && !r->erro && r->TemLinhas() && r->Col(1).ToString() == "42";
                       if (r) r->Liberta();
                       return read;
                   });
}

int LostLink(int cycles) {
    auto session = Open(kvltest::PostgresConnectionText("UseDeclareFetch=1;Fetch=1"));
    auto killer = Open(kvltest::PostgresConnectionText());
    int n = 0;
    return Measure("backend terminated during a read, Yes", cycles, [&] {
        const std::string fault = kvlrel::LostLinkCycle(*session, *killer);
        if (!fault.empty()) std::fprintf(stderr, "cycle %d: %s\n", n, fault.c_str());
        ++n;
        return fault.empty();
    });
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const bool postgres = argc > 2 && std::string(argv[2]) == "postgres";
    const int argCount = what == "lostlink" ? 2 : 3;
    const int count = argc > argCount ? std::atoi(argv[argCount]) : 0;
    // The test fixtures' private driver list and a fresh SQLite file, removed at exit.
    const kvltest::SqliteFile file;
    const std::string sqlite = "DRIVER=SQLite3;Database=" + file.path();
    if (what == "soak") return Soak(sqlite, postgres, count > 0 ? count : 10'000);
    if (what == "exec") return Exec(sqlite, postgres, count > 0 ? count : 1'000'000);
    if (what == "lostlink") return LostLink(count > 0 ? count : 200);
    std::fprintf(stderr, "usage: kvl_reliability soak|exec sqlite|postgres [N] | lostlink [N]\n");
    return 2;
}
