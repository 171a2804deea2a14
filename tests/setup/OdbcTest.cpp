// The symbol library through the library's ODBC seam, on the scripted driver manager: row
// writes with their parameters, failures with every diagnostic record, and every handle
// freed once.

#include <gtest/gtest.h>

#include "Scripted.h"
#include "kvl/Error.h"
#include "platform/Odbc.h"
#include "platform/OdbcLibrary.h"

namespace setup::testing {
namespace {

using kvltest::ScriptedOdbc;

class OdbcTest : public ::testing::Test {
  protected:
    // The handles the library held are all freed, each once.
    void TearDown() override {
        EXPECT_EQ(odbc->LiveHandles(), 0u);
        EXPECT_EQ(odbc->misuses, 0);
    }

    // A row set over StyleProperties holding these rows (rowid, Name, PropertyValue), the
    // driver giving "rowid" as the row identifier.
    std::unique_ptr<RowSet> Open(OdbcSymbolLibrary& library, std::vector<ScriptedOdbc::Row> rows) {
        odbc->ScriptExecution({{.columns = {{"SCOPE", 5, 5, 0, 1}, {"COLUMN_NAME", 12, 64, 0, 0}},
                                .rows = {{"2", "rowid"}}}});
        odbc->ScriptExecution({{.columns = {{"rowid", 4, 10, 0, 0},
                                            {"Name", 12, 50, 0, 1},
                                            {"PropertyValue", -1, 65535, 0, 1}},
                                .rows = std::move(rows)}});
        return library.OpenRecordset("Select * From StyleProperties Where Name='Source'");
    }

    // The description of the error the action throws.
    template <typename Action>
    std::string FailureOf(Action action) {
        try {
            action();
        } catch (const kvl::Error& error) {
            EXPECT_EQ(error.number(), odbc::kCallFailed);
            return error.description();
        }
        return "no error";
    }

    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
};

TEST_F(OdbcTest, AChangedRowIsWrittenBackByItsIdentifier) {
    {
        OdbcSymbolLibrary library("DRIVER=SQLite3;Database=/x.mdb", "x.mdb", odbc);
        std::unique_ptr<RowSet> rows = Open(library, {{"1", "Source", "C:\\antigo.fsm;7"}});
        EXPECT_EQ(rows->Value("PropertyValue"), "C:\\antigo.fsm;7");

        odbc->ScriptExecution({{.columns = {}, .rows = {}, .rowCount = 1}});
        rows->Edit();
        rows->SetValue("PropertyValue", "novo.fsm;7");
        rows->Update();
        ASSERT_EQ(odbc->parameters.size(), 1u);
        ASSERT_EQ(odbc->parameters[0].size(), 2u);
        // Each value goes with its column's type: a strict server compares numbers as numbers.
        EXPECT_EQ(odbc->parameters[0][0].value, "novo.fsm;7");
        EXPECT_EQ(odbc->parameters[0][0].sqlType, -1);
        EXPECT_EQ(odbc->parameters[0][1].value, "1");
        EXPECT_EQ(odbc->parameters[0][1].sqlType, 4);
    }
    EXPECT_EQ(odbc->Count("Disconnect"), 1u);
}

TEST_F(OdbcTest, FailuresOfTheOpenAndTheWriteNameTheLibraryOrRowWithEveryDiagnostic) {
    odbc->Fail("DriverConnect", kvl::odbc::Diagnostic{"08001", 14, "unable to open database file"});
    EXPECT_EQ(FailureOf([&] {
                  OdbcSymbolLibrary("DRIVER=SQLite3;Database=/x.mdb", "C:\\Dados\\x.mdb", odbc);
              }),
              "Não foi possível abrir a biblioteca de símbolos C:\\Dados\\x.mdb (SQLDriverConnect: "
              "[08001] unable to open database file)");

    OdbcSymbolLibrary library("DRIVER=SQLite3;Database=/x.mdb", "x.mdb", odbc);
    std::unique_ptr<RowSet> rows = Open(library, {{"1", "Source", "a.fsm;1"}});
    odbc->Fail("ExecuteWith", std::vector<kvl::odbc::Diagnostic>{{"HY000", 5, "database is locked"},
                                                                 {"01000", 0, "retry later"}});
    rows->Edit();
    rows->SetValue("PropertyValue", "b.fsm;1");
    EXPECT_EQ(FailureOf([&] { rows->Update(); }),
              "Não foi possível gravar a linha (rowid=1) da tabela StyleProperties (SQLExecute: "
              "[HY000] database is locked [01000] retry later)");
}

}  // namespace
}  // namespace setup::testing
