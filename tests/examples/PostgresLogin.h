#pragma once
// A login of the test server for the client, a member of a group role or of none, whose search
// path begins with a schema of this test process and ends with the shipped catalog views'
// schema. Made for a test and removed after it. A login without a group takes the rights of
// the sample's rows for every user; a member, those of its group.

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "CatalogViews.h"
#include "Databases.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvltest {

class PostgresLogin {
  public:
    explicit PostgresLogin(bool member = true) : member_(member) {
        const std::string id = std::to_string(getpid());
        schema = "kvl_m" + id;
        user = "kvl_mu" + id;
        group = "kvl_mg" + id;
    }

    // Call from the test's set-up, after KVL_REQUIRE_POSTGRES.
    void Create() {
        admin->ComMsg = false;
        Postgres::Configure(*admin);
        admin->Abre();
        ASSERT_TRUE(admin->Aberto) << admin->Login;
        Drop();
        const std::string grantee = member_ ? group : user;
        for (const std::string& sql :
             {"CREATE SCHEMA " + schema, "CREATE ROLE " + group + " NOLOGIN",
              "CREATE ROLE " + user + " LOGIN PASSWORD '" + kPassword + "'" +
                  (member_ ? " IN ROLE " + group : ""),
              "GRANT USAGE, CREATE ON SCHEMA " + schema + " TO " + grantee,
              "ALTER ROLE " + user + " SET search_path TO " + schema + ", dbo"})
            ASSERT_NO_FATAL_FAILURE(Run(sql));
        ApplyCatalogViews(*admin, true);
    }
    ~PostgresLogin() {
        own->Fecha();
        if (admin->Aberto) Drop();
    }

    void Run(const std::string& sql) {
        auto r = admin->Exec(sql);
        ASSERT_FALSE(r->erro) << sql << ": " << r->ErroD;
    }
    // The first value of the query, run by the login, whose tables the administrator may not
    // read; "(none)" without a row.
    std::string One(const std::string& sql) {
        if (!own->Aberto) {
            own->ComMsg = false;
            Postgres::Configure(*own);
            own->UID = user;
            own->PWD = kPassword;
            own->Abre();
        }
        auto r = own->Exec(sql);
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    }
    // The connection options of kvlsql and the client for the login.
    std::vector<std::string> Options() const {
        return {"--driver", "PostgreSQL", "--server", admin->Server, "--db",
                admin->DB,  "--uid",      user,       "--pwd",       kPassword};
    }

    static constexpr const char* kPassword = "kvl-moradas";
    std::shared_ptr<kvl::kvlSERV> admin = kvl::kvlSERV::Create();
    std::string schema, user, group;

  private:
    bool member_;
    std::shared_ptr<kvl::kvlSERV> own = kvl::kvlSERV::Create();

    void Drop() {
        admin->Exec("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
        admin->Exec("DROP ROLE IF EXISTS " + user);
        admin->Exec("DROP ROLE IF EXISTS " + group);
    }
};

}  // namespace kvltest
