#include "SampleDatabase.h"

#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "CatalogScript.h"
#include "StatementSplitter.h"
#include "UserFolders.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsession {

namespace {

// The statements that create the sample tables and fill them, in SQL that SQLite and
// PostgreSQL both take.
const std::vector<std::string>& SampleStatements() {
    static const std::vector<std::string> statements = {
        "CREATE TABLE concelhos (id INTEGER PRIMARY KEY, nome VARCHAR(40) NOT NULL, "
        "distrito VARCHAR(40) NOT NULL)",
        "INSERT INTO concelhos VALUES (1, 'Lisboa', 'Lisboa'), (2, 'Porto', 'Porto'), "
        "(3, 'Coimbra', 'Coimbra'), (4, 'Évora', 'Évora'), (5, 'Braga', 'Braga')",

        "CREATE TABLE freguesias (id INTEGER PRIMARY KEY, nome VARCHAR(60) NOT NULL, "
        "concelho INTEGER NOT NULL REFERENCES concelhos(id))",
        "INSERT INTO freguesias VALUES (1, 'Santa Maria Maior', 1), (2, 'Santo António', 1), "
        "(3, 'Misericórdia', 1), (4, 'Santo Ildefonso', 2), (5, 'São Nicolau', 2), "
        "(6, 'Sé Nova', 3), (7, 'Almedina', 3), (8, 'Sé e São Pedro', 4), (9, 'São Vicente', 5)",

        "CREATE TABLE tipos_via (codigo VARCHAR(4) PRIMARY KEY, descricao VARCHAR(20) NOT NULL)",
        "INSERT INTO tipos_via VALUES ('R', 'Rua'), ('Av', 'Avenida'), ('Tv', 'Travessa'), "
        "('Lg', 'Largo'), ('Pç', 'Praça'), ('Cç', 'Calçada'), ('Bc', 'Beco')",

        // Length in metres and postal code are unknown for some streets: NULL.
        "CREATE TABLE ruas (id INTEGER PRIMARY KEY, tipo VARCHAR(4) NOT NULL "
        "REFERENCES tipos_via(codigo), nome VARCHAR(80) NOT NULL, "
        "freguesia INTEGER NOT NULL REFERENCES freguesias(id), comprimento REAL, "
        "codigo_postal VARCHAR(8))",
        "INSERT INTO ruas VALUES "
        "(1, 'R', 'Rua Augusta', 1, 560, '1100-053'), "
        "(2, 'Pç', 'Praça do Comércio', 1, 190, '1100-148'), "
        "(3, 'Av', 'Avenida da Liberdade', 2, 1100, '1250-096'), "
        "(4, 'Cç', 'Calçada do Combro', 3, 420, '1200-115'), "
        "(5, 'Lg', 'Largo do Chiado', 3, 80, '1200-108'), "
        "(6, 'Tv', 'Travessa da Água de Flor', 3, 150, NULL), "
        "(7, 'R', 'Rua de Santa Catarina', 4, 1500, '4000-447'), "
        "(8, 'Av', 'Avenida dos Aliados', 4, 300, '4000-064'), "
        "(9, 'R', 'Rua das Flores', 5, 450, '4050-262'), "
        "(10, 'Pç', 'Praça da Ribeira', 5, NULL, '4050-513'), "
        "(11, 'R', 'Rua Ferreira Borges', 7, 350, '3000-180'), "
        "(12, 'Lg', 'Largo da Portagem', 7, 60, '3000-337'), "
        "(13, 'R', 'Rua de João Jacinto de Magalhães', 6, NULL, NULL), "
        "(14, 'Pç', 'Praça do Giraldo', 8, 140, '7000-508'), "
        "(15, 'R', 'Rua de Serpa Pinto', 8, 260, '7000-537'), "
        "(16, 'R', 'Rua do Souto', 9, 400, '4700-329'), "
        "(17, 'Bc', 'Beco do Forno', 9, 35, NULL)",

        "CREATE VIEW moradas AS SELECT r.id, t.descricao AS tipo, r.nome, f.nome AS freguesia, "
        "c.nome AS concelho FROM ruas r JOIN tipos_via t ON t.codigo = r.tipo "
        "JOIN freguesias f ON f.id = r.freguesia JOIN concelhos c ON c.id = f.concelho",
    };
    return statements;
}

// The tables where client programs keep per-user rights and window positions, with the
// sample's rights: the rows of the empty user apply to every user without a group of their
// own (every user of an SQLite file); the sample user "visitante" may not delete streets.
const std::vector<std::string>& ApplicationTableStatements() {
    static const std::vector<std::string> statements = {
        "CREATE TABLE kvlPERM (sPERMuid VARCHAR(40) NOT NULL, sPERMemp VARCHAR(128) NOT NULL "
        "DEFAULT '', sPERMopc VARCHAR(40) NOT NULL, sPERMperm VARCHAR(20) NOT NULL)",
        "INSERT INTO kvlPERM VALUES ('', '', 'ruas.abrir', 'ac'), ('', '', 'ruas.novo', 'an'), "
        "('', '', 'ruas.gravar', 'ag'), ('', '', 'ruas.eliminar', 'ae'), "
        "('', '', 'ruas.listar', 'acl'), ('visitante', '', 'ruas.eliminar', 'bf')",
        "CREATE TABLE kvlPOS (sPOSuser VARCHAR(40) NOT NULL, sPOSform VARCHAR(80) NOT NULL, "
        "iPOSleft INTEGER, iPOStop INTEGER, iPOSwidth INTEGER, iPOSheight INTEGER, "
        "iPOSstate INTEGER, sPOSobs VARCHAR(255), sPOStabgrelha TEXT, sPOSapp VARCHAR(40))",
    };
    return statements;
}

void RunAll(kvl::kvlSERV& s, const std::vector<std::string>& statements) {
    for (const std::string& sql : statements) {
        auto r = s.Exec(sql);
        if (r && r->erro) throw std::runtime_error(r->ErroD + "\n" + sql);
    }
}

std::shared_ptr<kvl::kvlSERV> Open(const std::filesystem::path& file) {
    auto s = kvl::kvlSERV::Create();
    s->ComMsg = false;  // failures are thrown to the caller instead
    s->Driver = kSampleDriver;
    s->DB = file.string();
    s->Abre();
    if (!s->Aberto) throw std::runtime_error("cannot open " + file.string());
    return s;
}

void Build(const std::filesystem::path& file) {
    auto s = Open(file);
    CreateSampleTables(*s);
    RunAll(*s, SplitStatements(kCatalogSqlite));
    s->Fecha();
}

// How many of the two names are taken (by what the sample made, or by objects of the user's
// own, which are left alone).
int32_t NamesTaken(kvl::kvlSERV& s, const char* first, const char* second) {
    auto r = s.Exec(std::string("SELECT count(*) FROM sqlite_master WHERE name IN ('") + first +
                    "', '" + second + "')");
    if (r->erro) throw std::runtime_error(r->ErroD);
    return r->TemLinhas() ? r->Col(1).ToInt32() : 0;
}

}  // namespace

std::filesystem::path DefaultDatabasePath() {
    return UserFolder("XDG_DATA_HOME", ".local/share") / "kvl2005" / "kvlsql.sqlite";
}

void CreateSampleTables(kvl::kvlSERV& s) {
    RunAll(s, SampleStatements());
    RunAll(s, ApplicationTableStatements());
}

void EnsureSampleDatabase(const std::filesystem::path& file) {
    if (std::filesystem::exists(file)) return;
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::path partial = file;
    partial += ".new-" + std::to_string(getpid());
    std::filesystem::remove(partial);
    try {
        Build(partial);
    } catch (...) {
        std::filesystem::remove(partial);
        throw;
    }
    std::filesystem::rename(partial, file);
}

void AddMissingCatalogViews(const std::filesystem::path& file) {
    auto s = Open(file);
    if (NamesTaken(*s, "syscolumns", "sysobjects") < 2) RunAll(*s, SplitStatements(kCatalogSqlite));
    s->Fecha();
}

void AddMissingApplicationTables(const std::filesystem::path& file) {
    auto s = Open(file);
    if (NamesTaken(*s, "kvlPERM", "kvlPOS") == 0) RunAll(*s, ApplicationTableStatements());
    s->Fecha();
}

}  // namespace kvlsession
