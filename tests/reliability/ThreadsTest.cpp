// Sessions used from several threads at once, one session per thread: each thread's queries
// answer their own values. Built under ThreadSanitizer by scripts/build tsan.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Databases.h"
#include "kvl/kvlRES.h"

namespace {

constexpr int kThreads = 8;
constexpr int kQueries = 1000;

class Threads : public testing::TestWithParam<std::string> {};

TEST_P(Threads, EachThreadsSessionAnswersItsOwnQueries) {
    const bool postgres = GetParam() == "postgres";
    if (postgres) KVL_REQUIRE_POSTGRES();
    kvltest::UsePrivateOdbcIni();
    kvltest::SqliteFile file;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            auto s = kvl::kvlSERV::Create();
            s->ComMsg = false;
            if (postgres) {
                kvltest::Postgres::Configure(*s);
            } else {
                file.Configure(*s);
            }
            s->lStackBase = 2;
            s->Abre();
            if (!s->Aberto) {
                wrong += kQueries;
                return;
            }
            for (int i = 0; i < kQueries; ++i) {
                const std::string expected = std::to_string(t * kQueries + i);
                auto r = s->Exec("SELECT " + expected);
                if (!r || r->erro || !r->TemLinhas() || r->Col(1).ToString() != expected) ++wrong;
                if (r) r->Liberta();
            }
            s->Fecha();
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

KVL_BACKENDS(Threads);

}  // namespace
