// The symbol library through the library's ODBC seam, on the scripted driver manager: row
// writes with their parameters, failures with every diagnostic record, and every handle
// freed once.

#include <gmock/gmock.h>

#include "Scripted.h"
#include "kvl/Error.h"
#include "platform/Odbc.h"
#include "platform/OdbcLibrary.h"

namespace setup::testing {
namespace {

using kvltest::ScriptedOdbc;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::Property;
using ::testing::Throws;

// A failure of the driver, with this description.
auto CallFailed(const std::string& description) {
    return Throws<kvl::Error>(AllOf(Property(&kvl::Error::number, odbc::kCallFailed),
                                    Property(&kvl::Error::description, description)));
}

TEST(OdbcTest, AChangedRowIsWrittenBackByItsIdentifierAndFailuresNameTheLibraryOrRow) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    odbc->Fail("DriverConnect", kvl::odbc::Diagnostic{"08001", 14, "unable to open database file"});
    EXPECT_THAT(
        [&] { OdbcSymbolLibrary("DRIVER=SQLite3;Database=/x.mdb", "C:\\Dados\\x.mdb", odbc); },
        CallFailed("Não foi possível abrir a biblioteca de símbolos C:\\Dados\\x.mdb "
                   "(SQLDriverConnect: [08001] unable to open database file)"));
    {
        OdbcSymbolLibrary library("DRIVER=SQLite3;Database=/x.mdb", "x.mdb", odbc);
        // A row set over StyleProperties, the driver giving "rowid" as the row identifier.
        odbc->ScriptExecution({{.columns = {{"SCOPE", 5, 5, 0, 1}, {"COLUMN_NAME", 12, 64, 0, 0}},
                                .rows = {{"2", "rowid"}}}});
        odbc->ScriptExecution({{.columns = {{"rowid", 4, 10, 0, 0},
                                            {"Name", 12, 50, 0, 1},
                                            {"PropertyValue", -1, 65535, 0, 1}},
                                .rows = {{"1", "Source", "C:\\antigo.fsm;7"}}}});
        std::unique_ptr<RowSet> rows =
            library.OpenRecordset("Select * From StyleProperties Where Name='Source'");
        EXPECT_EQ(rows->Value("PropertyValue"), "C:\\antigo.fsm;7");

        odbc->ScriptExecution({{.columns = {}, .rows = {}, .rowCount = 1}});
        rows->Edit();
        rows->SetValue("PropertyValue", "novo.fsm;7");
        rows->Update();
        // Each value goes with its column's type: a strict server compares numbers as numbers.
        EXPECT_THAT(odbc->parameters,
                    ElementsAre(ElementsAre(AllOf(Field(&kvl::odbc::Parameter::value, "novo.fsm;7"),
                                                  Field(&kvl::odbc::Parameter::sqlType, -1)),
                                            AllOf(Field(&kvl::odbc::Parameter::value, "1"),
                                                  Field(&kvl::odbc::Parameter::sqlType, 4)))));

        odbc->Fail("ExecuteWith",
                   std::vector<kvl::odbc::Diagnostic>{{"HY000", 5, "database is locked"},
                                                      {"01000", 0, "retry later"}});
        rows->Edit();
        rows->SetValue("PropertyValue", "b.fsm;1");
        EXPECT_THAT([&] { rows->Update(); },
                    CallFailed("Não foi possível gravar a linha (rowid=1) da tabela "
                               "StyleProperties (SQLExecute: [HY000] database is locked [01000] "
                               "retry later)"));
    }
    // The handles the library held are all freed, each once.
    EXPECT_EQ(odbc->Count("Disconnect"), 1u);
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

}  // namespace
}  // namespace setup::testing
