// The catalog queries and the field-existence test.

#include "Catalog.h"

#include "../server/SessionImpl.h"
#include "kvl/Text.h"

namespace kvl {

namespace services {

TableName SplitTableName(std::string_view table, tqConecçaoTipo dialect) {
    // Lower-casing keeps every byte where it was, so the cut holds in the original.
    std::string lower = Minusculas(table);
    bool oracle = dialect == tq_dbconnectionORACLE8;
    size_t p = lower.find(oracle ? "." : ".dbo.");
    if (p == std::string::npos) return {"", std::string(table)};
    size_t cut = p + (oracle ? 1 : 5);
    return {std::string(table.substr(0, cut)), std::string(table.substr(cut))};
}

std::string CatalogQuery(const kvlSERV& s, const Runner& run, const TableName* table,
                         std::optional<std::string_view> field) {
    const std::string prefix = table ? table->prefix : "";
    std::string q = " SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name ";
    std::string condition;
    if (table) condition = "b.name='" + run.Literal(table->name) + "'";
    if (field) condition += " and a.name='" + run.Literal(*field) + "'";
    if (s.connectionType == tq_dbconnectionORACLE8) {
        q += " FROM " + prefix + s.syscolumns + " a," + prefix + s.sysobjects + " b";
        if (field) {
            q += " Where a.id(+)=b.id AND " + condition;
        } else {
            q += " Where a.id(+)=b.id ";
            if (table) q += " AND " + condition;
        }
    } else {
        q += " FROM " + prefix + s.syscolumns + " a ";
        q += " LEFT OUTER JOIN " + prefix + s.sysobjects + " b ON a.id=b.id";
        if (table) q += " WHERE " + condition;
    }
    return q + " ORDER BY a.id,a.colid";
}

}  // namespace services

bool kvlSERV::CamposExisteCampo(std::string_view Tabela, std::string_view Campo) {
    services::TableName table = services::SplitTableName(Tabela, connectionType);
    services::Runner& run = impl().runner;
    return !run.QueryAfterPending(services::CatalogQuery(*this, run, &table, Campo), 1)
                .Set(0)
                .empty();
}

}  // namespace kvl
