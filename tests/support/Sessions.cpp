#include "Sessions.h"

#include <unistd.h>

namespace kvltest {

namespace {

// A schema of this test process, so parallel test processes never meet.
std::string Schema() {
    return "kvl_t" + std::to_string(getpid());
}

}  // namespace

void BackendTest::SetUp() {
    session = kvl::kvlSERV::Create();
    session->Dialogos = dialogs;
    if (IsPostgres()) {
        KVL_REQUIRE_POSTGRES();
        Postgres::Configure(*session);
        // Every slot's connection works in the test's own, empty schema.
        session->Abre();
        ASSERT_TRUE(session->Aberto) << session->Login;
        Run("DROP SCHEMA IF EXISTS " + Schema() + " CASCADE");
        Run("CREATE SCHEMA " + Schema());
        std::string login = session->Login + ";ConnSettings=SET search_path TO " + Schema();
        session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                      login);
    } else {
        file.Configure(*session);
        session->Abre();
    }
    ASSERT_TRUE(session->Aberto) << session->Login;
}

void BackendTest::TearDown() {
    if (session && session->Aberto && IsPostgres()) Run("DROP SCHEMA " + Schema() + " CASCADE");
    session.reset();
}

void BackendTest::Run(const std::string& sql) {
    auto r = session->Exec(sql);
    ASSERT_TRUE(r);
    ASSERT_FALSE(r->erro) << sql << ": " << r->ErroD;
}

}  // namespace kvltest
