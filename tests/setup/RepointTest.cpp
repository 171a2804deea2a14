// Re-pointing a real SQLite symbol library through the ODBC driver.

#include <gtest/gtest.h>

#include "SqliteLibrary.h"
#include "kvl/Error.h"
#include "linux/OdbcLibrary.h"
#include "logic/Repoint.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

constexpr const char* kSymbology = "C:\\Cartelix\\Symbols\\PDM Simbologia.fsm";
constexpr const char* kWarehouse = "C:\\Dados\\PDM Warehouse.mdb";

class RepointTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UsePrivateDriverList(folder_);
        RunOn(file_,
              {"CREATE TABLE StyleProperties (Name TEXT, PropertyValue TEXT)",
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Name TEXT, Location TEXT)"});
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Repoint() {
        OdbcSymbolLibrary library(LibraryConnectionText(kDefaultLibraryConnection, file_.string()));
        RepointLibrary(library, kSymbology, kWarehouse);
    }
    std::vector<std::string> Properties() {
        return RowsOf(file_, "SELECT Name, PropertyValue FROM StyleProperties ORDER BY rowid");
    }
    std::vector<std::string> Connections() {
        return RowsOf(file_, "SELECT ID, Name, Location FROM Connections ORDER BY ID");
    }

    fs::path folder_ = NewFolder();
    fs::path file_ = folder_ / "PDM Biblioteca.mdb";
};

TEST_F(RepointTest, RewritesEverySymbologySourceAndTheFirstConnection) {
    RunOn(file_, {"INSERT INTO StyleProperties VALUES "
                  "('Source', 'C:\\old\\A.FSM;12;extra'), ('Source', 'D:\\x.mdb;3'), "
                  "('Colour', 'C:\\old\\b.fsm;4'), ('Source', 'c:\\old\\c.Fsm;5'), "
                  "('Source', 'C:\\old\\single.fsm'), ('Source', NULL)",
                  "INSERT INTO Connections VALUES (3, 'Exemplo', 'C:\\old\\W.mdb'), "
                  "(7, 'Outra', 'C:\\old\\W2.mdb')"});
    const std::vector<std::string> properties = {
        "Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;12",
        "Source|D:\\x.mdb;3",
        "Colour|C:\\old\\b.fsm;4",
        "Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;5",
        "Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;",
        "Source|NULL"};
    const std::vector<std::string> connections = {"3|Exemplo|C:\\Dados\\PDM Warehouse.mdb",
                                                  "7|Outra|C:\\old\\W2.mdb"};
    Repoint();
    EXPECT_EQ(Properties(), properties);
    EXPECT_EQ(Connections(), connections);

    // Installing again gives the same library.
    Repoint();
    EXPECT_EQ(Properties(), properties);
    EXPECT_EQ(Connections(), connections);
}

TEST_F(RepointTest, DuplicateRowsAreEachRewrittenOnce) {
    // No key of their own: rows are told apart by the driver's row identifier.
    RunOn(file_,
          {"INSERT INTO StyleProperties VALUES ('Source', 'a.fsm;1'), ('Source', 'a.fsm;1')"});
    Repoint();
    EXPECT_EQ(Properties(),
              (std::vector<std::string>{"Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;1",
                                        "Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;1"}));
}

TEST_F(RepointTest, EmptyTablesLeaveTheLibraryAsItWas) {
    Repoint();
    EXPECT_TRUE(Properties().empty());
    EXPECT_TRUE(Connections().empty());

    RunOn(file_, {"INSERT INTO StyleProperties VALUES ('Other', 'x.fsm;1')"});
    Repoint();
    EXPECT_EQ(Properties(), std::vector<std::string>{"Other|x.fsm;1"});
    EXPECT_TRUE(Connections().empty());
}

TEST_F(RepointTest, MissingTableIsAnErrorWithTheDriversDiagnostic) {
    RunOn(file_, {"DROP TABLE Connections"});
    try {
        Repoint();
        FAIL() << "no error";
    } catch (const kvl::Error& error) {
        EXPECT_NE(error.description().find("Connections"), std::string::npos)
            << error.description();
    }
}

TEST_F(RepointTest, RowSetWalksAndWritesBackRows) {
    RunOn(file_, {"INSERT INTO Connections VALUES (1, 'a', 'x'), (2, 'b', 'y')"});
    OdbcSymbolLibrary library(LibraryConnectionText(kDefaultLibraryConnection, file_.string()));
    std::unique_ptr<RowSet> rows = library.OpenRecordset("Select * From Connections");
    EXPECT_FALSE(rows->Empty());
    EXPECT_EQ(rows->Value("name"), "a");
    rows->MoveNext();
    EXPECT_EQ(rows->Value("Location"), "y");
    // Without Edit nothing may change, and a move abandons an edit.
    EXPECT_THROW(rows->SetValue("Location", "z"), kvl::Error);
    rows->MoveFirst();
    rows->Edit();
    rows->SetValue("Location", "first");
    rows->MoveNext();
    EXPECT_THROW(rows->Update(), kvl::Error);
    rows->MoveNext();
    EXPECT_TRUE(rows->AtEnd());
    EXPECT_FALSE(rows->BeforeStart());
    EXPECT_THROW(rows->Value("Location"), kvl::Error);
    EXPECT_EQ(Connections(), (std::vector<std::string>{"1|a|x", "2|b|y"}));

    // A row deleted meanwhile cannot be written back, and says so.
    RunOn(file_, {"DELETE FROM Connections WHERE ID = 1"});
    rows->MoveFirst();
    rows->Edit();
    rows->SetValue("Location", "lost");
    EXPECT_THROW(rows->Update(), kvl::Error);
}

TEST(LibraryConnectionText, NamesTheFileInTheTemplate) {
    EXPECT_EQ(LibraryConnectionText(kDefaultLibraryConnection, "/d/PDM Biblioteca.mdb"),
              "DRIVER=SQLite3;Database=/d/PDM Biblioteca.mdb");
    EXPECT_EQ(LibraryConnectionText("DSN=lib;File=%FILE%;X=1", "/a"), "DSN=lib;File=/a;X=1");
    // A path that would end the value early is enclosed in braces.
    EXPECT_EQ(LibraryConnectionText(kDefaultLibraryConnection, "/d/a;b}.mdb"),
              "DRIVER=SQLite3;Database={/d/a;b}}.mdb}");
}

}  // namespace
}  // namespace setup::testing
