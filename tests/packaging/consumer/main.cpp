// Runs one query on the SQLite database file given and prints its rows.
#include <iostream>

#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

#ifdef WITH_QT
#include "kvlqt/QtControls.h"
#include "kvlqt/QtDialogs.h"
#include "kvlqt/QtListControl.h"
#include "kvlqt/QtProgressForm.h"
#include "kvlqt/QtWindow.h"
#endif

#ifdef EXPECTED_CPLUSPLUS
static_assert(__cplusplus == EXPECTED_CPLUSPLUS, "built in another C++ standard than asked");
#endif

int main(int argc, char** argv) {
#ifdef WITH_QT
    // Links the adapters' library; not run, as a dialog needs a running application.
    if (argc == 3) return kvlqt::QtDialogs().Pergunta("", "", 0);
#endif
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
