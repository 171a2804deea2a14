#pragma once
// Rows of the application's tables and lists catalogues, as the scripted driver manager
// gives them (the catalogue batch runs on no real driver), and a session ready to load them.

#include <string>
#include <vector>

#include "Scripted.h"

namespace kvltest {

// A row of the tables catalogue: number, name, location, placement letters, list SQL.
inline ScriptedOdbc::Row TableRow(const std::string& number, const std::string& name,
                                  const std::string& destination, const std::string& letters,
                                  const std::string& listSql = "") {
    return {number, name, "10", "rel", "const", destination, "11", listSql, letters};
}

// A row of the lists catalogue: number and SQL.
inline ScriptedOdbc::Row ListRow(const std::string& number, const std::string& sql) {
    return {number, "const", "20", sql};
}

inline ScriptedOdbc::Result TextRows(const std::vector<std::string>& columns,
                                     std::vector<ScriptedOdbc::Row> rows) {
    ScriptedOdbc::Result r;
    for (const std::string& c : columns) r.columns.push_back({c, 12, 255, 0, 1});
    r.rows = std::move(rows);
    return r;
}

inline ScriptedOdbc::Result TablesCatalogue(std::vector<ScriptedOdbc::Row> rows) {
    return TextRows({"iTABtab", "sTABnome", "iTABtit", "sTABrel", "sTABconst", "sLTBempdst",
                     "iTABlsttit", "sTABlstsql", "sTABapp"},
                    std::move(rows));
}

inline ScriptedOdbc::Result ListsCatalogue(std::vector<ScriptedOdbc::Row> rows) {
    return TextRows({"iLSTlst", "sLSTconst", "iLSTtit", "sLSTsql"}, std::move(rows));
}

// Names the three catalogue tables of a session.
inline void NameCatalogues(kvl::kvlSERV& s) {
    s.TabelaDeTabelas = "TAB";
    s.TabelaLocDeTabelas = "LTB";
    s.TabelaDeListas = "LST";
}

}  // namespace kvltest
