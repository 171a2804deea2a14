// Prepared commands with parameters and transactions on one connection, on the real drivers.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/OdbcError.h"
#include "kvl/kvlLIG.h"
#include "kvl/kvlRES.h"

using namespace kvl;

namespace {

class Link : public kvltest::BackendTest {
  protected:
    // The rows of sql through the typed reading.
    kvltest::TypedTable Rows(kvlLIG& link, const std::string& sql,
                             const std::vector<TypedValue>& values = {}) {
        auto r = link.Prepara(sql);
        r->Executa(values);
        return kvltest::TypedRowsOf(*r);
    }
    int64_t Count(const std::string& table) {
        auto r = session->Exec("SELECT COUNT(*) FROM " + table);
        return r->TemLinhas() ? r->Col(1).ToInt32() : -1;
    }
};

TEST_P(Link, ParametersOfEveryTypeComeBackAsBound) {
    const bool pg = IsPostgres();
    Run(std::string(
            "CREATE TABLE p (i BIGINT, f DOUBLE PRECISION, d DECIMAL(12,3), t VARCHAR(200), ") +
        (pg ? "b BYTEA" : "b BLOB") + ", dt DATE, tm TIME, ts TIMESTAMP, bo BOOLEAN)");
    auto link = session->Liga();
    auto insert = link->Prepara("INSERT INTO p VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const std::vector<TypedValue> full{int64_t{-9007199254740993},
                                       0.1,
                                       Decimal{"-1234.567"},
                                       std::string("Évora 'quoted' \\ ?"),
                                       Bytes{0, 1, 255, 0},
                                       Date{2024, 2, 29},
                                       Time{13, 45, 1, 0},
                                       Timestamp{{1999, 12, 31}, {23, 59, 58, 123456000}},
                                       true};
    insert->Executa(full);
    // NULL in every column; the same command again, not prepared again.
    insert->Executa(std::vector<TypedValue>(9));
    auto rows = Rows(*link, "SELECT * FROM p WHERE i = ? OR i IS NULL ORDER BY i",
                     {int64_t{-9007199254740993}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(pg ? rows[1] : rows[0], std::vector<TypedValue>(9));
    const auto& values = pg ? rows[0] : rows[1];
    for (size_t n = 0; n < full.size(); ++n) {
        // SQLite keeps a decimal as a double: its digits come back without the trailing zeros.
        if (n == 2 && !pg) continue;
        EXPECT_EQ(values[n], full[n]) << "column " << n + 1;
    }
}

TEST_P(Link, RowsRunInOneCallAsParameterSets) {
    Run("CREATE TABLE a (k INTEGER PRIMARY KEY, t VARCHAR(20), d DECIMAL(8,2))");
    // A session of its own on a layer that counts the calls it makes.
    auto scripted = std::make_shared<kvltest::ScriptedOdbc>(odbc::UnixOdbc());
    auto s = kvlSERV::Create(scripted);
    s->Abre(session->Login);
    ASSERT_TRUE(s->Aberto);
    auto link = s->Liga();
    auto insert = link->Prepara("INSERT INTO a VALUES (?, ?, ?)");
    insert->ExecutaLinhas({{int64_t{1}, std::string("um"), Decimal{"1.5"}},
                           {int64_t{2}, TypedValue{}, Decimal{"12.25"}},
                           {int64_t{3}, std::string("três"), TypedValue{}}});
    EXPECT_EQ(scripted->Count("Execute"), 1u);
    EXPECT_EQ(insert->LinAfect, 3);
    // A marker whose values differ in type: one row at a time.
    insert->ExecutaLinhas(
        {{int64_t{4}, std::string("x"), TypedValue{}}, {int64_t{5}, int64_t{7}, TypedValue{}}});
    EXPECT_EQ(scripted->Count("Execute"), 3u);
    EXPECT_EQ(insert->LinAfect, 2);
    EXPECT_EQ(Rows(*link, "SELECT t FROM a WHERE k <= 3 ORDER BY k"),
              (kvltest::TypedTable{{std::string("um")}, {TypedValue{}}, {std::string("três")}}));
    EXPECT_THROW(insert->ExecutaLinhas({{int64_t{6}, TypedValue{}, TypedValue{}},
                                        {int64_t{1}, TypedValue{}, TypedValue{}}}),
                 OdbcError);
    insert->Executa({int64_t{7}, TypedValue{}, TypedValue{}});  // single sets again
    EXPECT_EQ(insert->LinAfect, 1);
    EXPECT_EQ(scripted->Count("Prepare"), 2u);  // the insert once for all its runs, the select
}

TEST_P(Link, TransactionsKeepWhatIsCommittedOnly) {
    Run("CREATE TABLE tx (k INTEGER PRIMARY KEY)");
    auto link = session->Liga();
    auto insert = link->Prepara("INSERT INTO tx VALUES (?)");
    link->TransacçãoInicia();
    insert->Executa({int64_t{1}});
    // The session's own members run on another connection, which sees nothing uncommitted.
    EXPECT_EQ(Count("tx"), 0);
    link->TransacçãoDesfaz();
    EXPECT_EQ(Count("tx"), 0);
    link->TransacçãoInicia();
    insert->Executa({int64_t{2}});
    link->TransacçãoConfirma();
    EXPECT_EQ(Count("tx"), 1);
    // A transaction left open is rolled back when the connection goes.
    link->TransacçãoInicia();
    insert->Executa({int64_t{3}});
    insert.reset();
    link.reset();
    EXPECT_EQ(Count("tx"), 1);
}

// A failure throws the driver's diagnostics and shows no dialog; the link serves on after it,
// and outlives the session's close without touching a freed handle.
TEST_P(Link, FailuresThrowTheDriversStateWithoutDialogs) {
    auto link = session->Liga();
    try {
        link->Prepara("SELEC nothing")->Executa();
        FAIL() << "a command in no SQL ran";
    } catch (const OdbcError& e) {
        EXPECT_FALSE(e.state().empty() || e.diagnostics().front().message.empty()) << e.what();
    }
    EXPECT_TRUE(dialogs->asked.empty());
    auto select = link->Prepara("SELECT 1");
    EXPECT_EQ(Rows(*link, "SELECT 1").size(), 1u);
    session->Fecha();
    EXPECT_THROW(select->Executa(), OdbcError);
}

KVL_BACKENDS(Link);

}  // namespace
