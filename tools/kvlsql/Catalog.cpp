#include "Catalog.h"

#include "FieldTable.h"
#include "Messages.h"
#include "MessagesOff.h"
#include "ResultPrinter.h"
#include "Runner.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

std::string StandardCatalogQuery(bool tablesOnly) {
    return "SELECT table_schema AS schema, table_name AS name, "
           "CASE table_type WHEN 'VIEW' THEN 'view' ELSE 'table' END AS type "
           "FROM information_schema.tables "
           "WHERE table_schema NOT IN ('pg_catalog', 'information_schema')" +
           std::string(tablesOnly ? " AND table_type <> 'VIEW'" : "") + " ORDER BY 1, 2";
}

std::string SqliteCatalogQuery(bool tablesOnly) {
    std::string kinds = tablesOnly ? "('table')" : "('table', 'view')";
    auto from = [&](const char* schema, const char* catalog) {
        return std::string("SELECT '") + schema + "' AS schema, name, type FROM " + catalog +
               " WHERE type IN " + kinds + " AND name NOT LIKE 'sqlite!_%' ESCAPE '!'";
    };
    return from("main", "sqlite_master") + " UNION ALL " + from("temp", "sqlite_temp_master") +
           " ORDER BY 1, 2";
}

}  // namespace

bool ListTables(Runner& runner, bool tablesOnly) {
    kvl::kvlSERV& s = runner.Server();
    for (const std::string& query :
         {StandardCatalogQuery(tablesOnly), SqliteCatalogQuery(tablesOnly)}) {
        std::shared_ptr<kvl::kvlRES> r;
        {
            kvlsession::MessagesOff quiet(s);
            r = s.Exec(query);
        }
        bool read = !r->erro;
        bool ok = read && runner.PrintResults(*r);
        r->Liberta();
        if (read) return ok;
    }
    runner.Tell().Error("the catalog of tables could not be read: " + DriverMessage(s.ErroD));
    return false;
}

bool DescribeTable(Runner& runner, const std::string& table) {
    kvl::kvlSERV& s = runner.Server();
    kvl::Variant fields;
    {
        kvlsession::MessagesOff quiet(s);
        s.erro = false;
        fields = s.CamposPropsInfo(table);
    }
    int32_t n = fields.array().UBound(2);
    if (n > 0) {
        std::ostream& out = runner.Output().Stream();
        const OutputSettings& settings = runner.Settings().output;
        PrintTable(out, FieldTable(fields), settings);
        PrintFooter(out, settings, n == 1 ? "1 field" : std::to_string(n) + " fields");
        return true;
    }
    if (s.erro) {
        runner.Tell().Error("\\d " + table +
                            ": the catalog query failed: " + DriverMessage(s.ErroD) +
                            "; \\d reads the catalog views syscolumns and sysobjects, which the "
                            "scripts in the project's sql folder give a database");
    } else {
        runner.Tell().Error("\\d: the catalog has no table or view named " + table);
    }
    return false;
}

}  // namespace kvlsql
