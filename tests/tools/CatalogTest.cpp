// \d and \dt on the embedded database through its catalog views, on one made before them,
// and on a database without them.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "Environment.h"
#include "Runner.h"
#include "Session.h"
#include "kvl/kvlRES.h"

namespace {

class Catalog : public testing::Test {
  protected:
    void SetUp() override {
        kvltest::UsePrivateOdbcIni();
        static int n = 0;
        env.Set("XDG_DATA_HOME", (kvltest::TestDir() / ("catalog" + std::to_string(++n))).string());
        env.Set("LC_ALL", "C");
    }
    // What a command prints on a new session, then what it tells on standard error.
    std::string Run(const std::string& command, const kvlsession::ConnectionOptions& o = {}) {
        std::ostringstream out, err;
        auto s = kvlsession::OpenSession(o, "kvlsql", err);
        if (!s) return "cannot open: " + err.str();
        kvlsql::Runner(s, out, err, {}, nullptr, std::make_shared<kvltest::ScriptedDialogs>())
            .Run(command, {"-c", 1});
        s->Fecha();
        return out.str() + err.str();
    }

    kvltest::ScopedEnvironment env;
};

const std::string kRuas =
    " field         | type | type name | size | digits | decimals |         min |        max "
    "| width | format                        \n"
    "---------------+------+-----------+------+--------+----------+-------------+------------"
    "+-------+-------------------------------\n"
    " id            |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 "
    "|    10 | {-+#}(-2147483648>2147483647) \n"
    " tipo          |    2 | varchar   |    4 |      0 |        0 |             |            "
    "|     4 | {}                            \n"
    " nome          |    2 | varchar   |   80 |      0 |        0 |             |            "
    "|    80 | {}                            \n"
    " freguesia     |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 "
    "|    10 | {-+#}(-2147483648>2147483647) \n"
    " comprimento   |   23 | real      |    4 |     24 |        0 |    -3.4E+27 |    3.4E+27 "
    "|    24 | {-+#.}(-3.4E+27>3.4E+27)      \n"
    " codigo_postal |    2 | varchar   |    8 |      0 |        0 |             |            "
    "|     8 | {}                            \n"
    "(6 fields)\n\n";

TEST_F(Catalog, BackslashDDescribesATableAndListsTablesAndViews) {
    EXPECT_EQ(Run("\\d ruas"), kRuas);
    EXPECT_EQ(Run("\\d nenhuma"),
              "-c:1: ERROR: \\d: the catalog has no table or view named nenhuma\n");
    const std::string tables = Run("\\dt");
    for (const char* part :
         {" schema | name       | type  \n--------+------------+-------\n"
          " main   | concelhos  | table \n",
          " main   | ruas       | table \n main   | tipos_via  | table \n(7 rows)\n"})
        EXPECT_NE(tables.find(part), std::string::npos) << tables;
    EXPECT_EQ(tables.find("view"), std::string::npos) << tables;
    EXPECT_NE(Run("\\d").find(" main   | moradas    | view  \n"), std::string::npos);

    // A database made before the views were part of it gains them at its next use.
    Run("DROP VIEW syscolumns");
    EXPECT_EQ(Run("\\d ruas"), kRuas);
    // Under a Portuguese locale the formats take its separator.
    env.Set("LC_ALL", "pt_PT.UTF-8");
    EXPECT_NE(Run("\\d ruas").find("| {-+#.}(-3,4E+27>3,4E+27) "), std::string::npos);
}

TEST_F(Catalog, WithoutItsCatalogViewsBackslashDSaysWhatIsMissing) {
    kvltest::SqliteFile file;
    kvlsession::ConnectionOptions own;
    own.connect = "DRIVER=SQLite3;Database=" + file.path();
    Run("CREATE TABLE t (a int)", own);
    const std::string said = Run("\\d t", own);
    EXPECT_NE(said.find("-c:1: ERROR: \\d t: the catalog query failed: "), std::string::npos);
    EXPECT_NE(said.find("the scripts in the project's sql folder"), std::string::npos) << said;
}

}  // namespace
