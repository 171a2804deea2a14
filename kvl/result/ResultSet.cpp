// kvlRES: the slot it borrows and its release.

#include "kvl/kvlRES.h"

#include "kvl/kvlSERV.h"

namespace kvl {

kvlRES::~kvlRES() {
    try {
        Liberta();
    } catch (...) {
    }
}

void kvlRES::Liberta() {
    if (Indice < 1) return;
    // A slot of a session closed or reopened since belongs to someone else now.
    if (Pai && Pai->SlotVivo(Indice, geracao_)) Pai->StackLiberta(Indice);
    Indice = 0;
}

}  // namespace kvl
