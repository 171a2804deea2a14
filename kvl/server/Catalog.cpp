// The catalog queries and the field-existence test.

#include "Catalog.h"

#include "kvl/Text.h"
#include "kvl/kvlRES.h"

namespace kvl {

NomeDeTabela DivideNomeDeTabela(std::string_view Tabela, tqConecçaoTipo dialecto) {
    // Lower-casing keeps every byte where it was, so the cut holds in the original.
    std::string procura = Minusculas(Tabela);
    bool oracle = dialecto == tq_dbconnectionORACLE8;
    size_t p = procura.find(oracle ? "." : ".dbo.");
    if (p == std::string::npos) return {"", std::string(Tabela)};
    size_t corte = p + (oracle ? 1 : 5);
    return {std::string(Tabela.substr(0, corte)), std::string(Tabela.substr(corte))};
}

void ComConsultaDoCatalogo(kvlSERV& s, const NomeDeTabela* tabela,
                           std::optional<std::string_view> campo) {
    const std::string prefixo = tabela ? tabela->prefixo : "";
    s.com("SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name ");
    std::string condicao;
    if (tabela) condicao = "b.name='" + Literal(tabela->nome) + "'";
    if (campo) condicao += " and a.name='" + Literal(*campo) + "'";
    if (s.connectionType == tq_dbconnectionORACLE8) {
        s.com("FROM " + prefixo + s.syscolumns + " a," + prefixo + s.sysobjects + " b");
        if (campo) {
            s.com("Where a.id(+)=b.id AND " + condicao);
        } else {
            s.com("Where a.id(+)=b.id ");
            if (tabela) s.com("AND " + condicao);
        }
    } else {
        s.com("FROM " + prefixo + s.syscolumns + " a ");
        s.com("LEFT OUTER JOIN " + prefixo + s.sysobjects + " b ON a.id=b.id");
        if (tabela) s.com("WHERE " + condicao);
    }
    s.com("ORDER BY a.id,a.colid");
}

bool kvlSERV::CamposExisteCampo(std::string_view Tabela, std::string_view Campo) {
    NomeDeTabela tabela = DivideNomeDeTabela(Tabela, connectionType);
    ComConsultaDoCatalogo(*this, &tabela, Campo);
    auto R = Exec();
    return R && R->TemLinhas();
}

}  // namespace kvl
