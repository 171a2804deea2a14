#include "ServiceHooks.h"

#include "kvl/kvlSERV.h"
#include "kvlqt/QtWindow.h"

namespace moradas {

bool WindowOpened(kvl::kvlSERV& session, QWidget& window) {
    const kvl::Variant janela = kvlqt::WindowOf(&window);
    // Rights first: they only switch menu actions, and the window is not placed twice.
    session.TabelaPermVerifica(janela);
    return session.TabelaPosLe(janela);
}

void WindowClosing(kvl::kvlSERV& session, QWidget& window) {
    // Kept in the session's cache; the close of the session writes it to the table.
    session.TabelaPosGrava(kvlqt::WindowOf(&window));
}

}  // namespace moradas
