// Re-pointing a real SQLite symbol library through the ODBC driver, in a folder whose name
// would end or change a connection text that took it as it is.

#include <gmock/gmock.h>

#include "Databases.h"
#include "Helpers.h"
#include "kvl/Error.h"
#include "logic/Repoint.h"
#include "platform/LinuxPlatform.h"
#include "platform/Odbc.h"
#include "platform/OdbcLibrary.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

using ::testing::AllOf;
using ::testing::Property;
using ::testing::Throws;

class RepointTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(file_.parent_path());
        RunOn(file_,
              {"CREATE TABLE StyleProperties (Name TEXT, PropertyValue TEXT)",
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Name TEXT, Location TEXT)"});
        // Made where named, not at a path cut short.
        ASSERT_TRUE(fs::is_regular_file(file_));
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Repoint() {
        OdbcSymbolLibrary library(LibraryConnectionText(kDefaultLibraryConnection, file_.string()),
                                  "PDM Biblioteca.mdb");
        RepointLibrary(library, "C:\\Cartelix\\Symbols\\PDM Simbologia.fsm",
                       "C:\\Dados\\PDM Warehouse.mdb");
    }

    fs::path folder_ = kvltest::TestDir() / "repoint";
    fs::path file_ = folder_ / "a;b=c{d}} %41 é #?" / "PDM Biblioteca.mdb";
};

TEST_F(RepointTest, RewritesEverySymbologySourceAndTheFirstConnectionNotARowDeletedMeanwhile) {
    // The two equal rows have no key of their own: the driver's row identifier tells them
    // apart, so each is written once.
    RunOn(file_, {"INSERT INTO StyleProperties VALUES "
                  "('Source', 'C:\\old\\A.FSM;12;extra'), ('Source', 'D:\\x.mdb;3'), "
                  "('Colour', 'C:\\old\\b.fsm;4'), ('Source', 'c:\\old\\c.Fsm;5'), "
                  "('Source', 'c:\\old\\c.Fsm;5'), ('Source', 'C:\\old\\single.fsm'), "
                  "('Source', NULL)",
                  "INSERT INTO Connections VALUES (3, 'Exemplo', 'C:\\old\\W.mdb'), "
                  "(7, 'Outra', 'C:\\old\\W2.mdb')"});
    const std::string repointed = "Source|C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;";
    const std::vector<std::string> properties = {
        repointed + "12", "Source|D:\\x.mdb;3", "Colour|C:\\old\\b.fsm;4",
        repointed + "5",  repointed + "5",      repointed,
        "Source|NULL"};
    const std::vector<std::string> connections = {"3|Exemplo|C:\\Dados\\PDM Warehouse.mdb",
                                                  "7|Outra|C:\\old\\W2.mdb"};
    // Installing again gives the same library.
    for (int installation = 1; installation <= 2; ++installation) {
        Repoint();
        EXPECT_EQ(RowsOf(file_, "SELECT Name, PropertyValue FROM StyleProperties ORDER BY rowid"),
                  properties)
            << installation;
        EXPECT_EQ(RowsOf(file_, "SELECT ID, Name, Location FROM Connections ORDER BY ID"),
                  connections)
            << installation;
    }

    // A row deleted meanwhile is reported, not taken for written.
    OdbcSymbolLibrary library(LibraryConnectionText(kDefaultLibraryConnection, file_.string()),
                              "PDM Biblioteca.mdb");
    std::unique_ptr<RowSet> rows = library.OpenRecordset("Select * From Connections");
    RunOn(file_, {"DELETE FROM Connections WHERE ID = 3"});
    rows->MoveFirst();
    rows->Edit();
    rows->SetValue("Location", "lost");
    EXPECT_THAT([&] { rows->Update(); },
                Throws<kvl::Error>(
                    AllOf(Property(&kvl::Error::number, kRowNotFoundAgain),
                          Property(&kvl::Error::description,
                                   "A linha (_ROWID_=3) da tabela Connections já não existe: foi "
                                   "mudada ou apagada entretanto"))));
}

// Untyped key columns keep each value in its own type: the integer 2 and the text '2' are
// different rows, each matched as stored.
TEST_F(RepointTest, RowsKeyedByTypedUntypedOrMixedColumnsOrANullKeyAreRepointed) {
    fs::remove(file_);
    RunOn(file_, {"CREATE TABLE StyleProperties (StyleID INTEGER, Seq, Name, PropertyValue, "
                  "PRIMARY KEY (StyleID, Seq, Name))",
                  "INSERT INTO StyleProperties VALUES (1, 2, 'Source', 'a.fsm;1'), "
                  "(1, '2', 'Source', 'b.fsm;2'), (1, NULL, 'Source', 'c.fsm;3'), "
                  "(2, 0.5, 'Source', 'd.fsm;4'), (3, 0, 'Other', 'e.fsm;5')",
                  "CREATE TABLE Connections (Location TEXT)"});
    Repoint();
    const std::string fsm = "C:\\Cartelix\\Symbols\\PDM Simbologia.fsm;";
    EXPECT_EQ(RowsOf(file_,
                     "SELECT StyleID, typeof(Seq), PropertyValue FROM StyleProperties "
                     "ORDER BY rowid"),
              (std::vector<std::string>{"1|integer|" + fsm + "1", "1|text|" + fsm + "2",
                                        "1|null|" + fsm + "3", "2|real|" + fsm + "4",
                                        "3|integer|e.fsm;5"}));
}

TEST_F(RepointTest, AMissingLibraryIsNotMadeByTheDriver) {
    winhost::PrintedMessageBoxes boxes;
    LinuxPlatform platform({folder_, "", {}, std::string(kDefaultLibraryConnection), false}, boxes);
    EXPECT_EQ(kvltest::ErrorOf([&] { platform.OpenLibrary("C:\\PDM.mdb"); }), kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(folder_ / "PDM.mdb"));
}

TEST(LibraryConnectionText, NamesTheFileInTheTemplate) {
    // A path that would end the value early is enclosed in braces, its own doubled.
    EXPECT_EQ(LibraryConnectionText("DSN=lib;File=%FILE%;X=1", "/d/PDM;Biblioteca.mdb"),
              "DSN=lib;File={/d/PDM;Biblioteca.mdb};X=1");
    EXPECT_EQ(LibraryConnectionText("DRIVER=X;Database=%FILE%", "/d/a}b.mdb"),
              "DRIVER=X;Database={/d/a}}b.mdb}");
}

}  // namespace
}  // namespace setup::testing
