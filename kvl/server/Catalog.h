#pragma once
// The catalog queries: how a table name splits into a catalog prefix and a bare name, and
// the text of the queries in both dialect forms.

#include <optional>
#include <string>
#include <string_view>

#include "kvl/kvlSERV.h"

namespace kvl {

struct NomeDeTabela {
    std::string prefixo;  // put in front of both catalog tables ("db1.dbo.", "geo.")
    std::string nome;     // compared with the objects' names
};

// "db.dbo.table" (".dbo." in any case) in every dialect but ORACLE8, where "owner.table"
// splits at its first point. Without one the whole name is the bare name.
NomeDeTabela DivideNomeDeTabela(std::string_view Tabela, tqConecçaoTipo dialecto);

// Appends to s's pending command the query of the catalog rows (field name, type code,
// length, precision, scale, table id, table name) of table, or of every table when table
// is null; with campo, of that field only.
void ComConsultaDoCatalogo(kvlSERV& s, const NomeDeTabela* tabela,
                           std::optional<std::string_view> campo = std::nullopt);

}  // namespace kvl
