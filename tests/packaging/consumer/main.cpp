// Runs one query on the SQLite database file given and prints its rows.
#include <iostream>

#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    auto s = kvl::kvlSERV::Create();
    s->Driver = "SQLite3";
    s->DB = argv[1];
    s->Abre();
    auto r = s->Exec("SELECT 'um', 1 + 1");
    while (r && r->TemLinhas())
        std::cout << r->Col(1).ToString() << ' ' << r->Col(2).ToString() << '\n';
    return s->Aberto ? 0 : 1;
}
