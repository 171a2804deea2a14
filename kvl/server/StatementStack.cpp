// The statement stack: base slots connected for the whole session, extra slots
// connected on demand and all disconnected once the last busy one is released.

#include <algorithm>
#include <limits>

#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvl {

namespace {

void Conta(uint8_t& counter) {
    if (counter == std::numeric_limits<uint8_t>::max()) throw Error(kOverflow);
    ++counter;
}

}  // namespace

kvlSERV::Slot& kvlSERV::SlotEm(int16_t nIndex) {
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= stack_.size())
        throw Error(kSubscriptOutOfRange);
    return stack_[nIndex];
}

const kvlSERV::Slot& kvlSERV::SlotEm(int16_t nIndex) const {
    return const_cast<kvlSERV*>(this)->SlotEm(nIndex);
}

void kvlSERV::ConectaSlot(int16_t index) {
    Slot& slot = SlotEm(index);
    // Handles left on the slot by a failed open are freed before new ones take their place.
    bool usada = slot.bUsada;
    slot.Liberta();
    slot.bUsada = usada;
    LigaSlot(slot);
}

void kvlSERV::StackBase(int16_t n) {
    lStackBase = n;
    if (hEnv == 0) return;  // takes effect at the next open
    if (n > SlotCount && stack_.size() < static_cast<size_t>(n) + 1) stack_.resize(n + 1);
    StackReservaConexões(static_cast<int16_t>(SlotCount + 1), lStackBase);
    if (SlotCount < lStackBase && Aberto) SlotCount = lStackBase;
}

void kvlSERV::StackReservaConexões(int16_t De, int16_t Ate) {
    // After a refused connect the next would only be refused again (and count against a
    // lockout policy): the slots left are connected when they are first reserved.
    for (int32_t i = De; i <= Ate; ++i) {
        ConectaSlot(static_cast<int16_t>(i));
        if (!SlotEm(static_cast<int16_t>(i)).ligada()) break;
    }
}

void kvlSERV::StackReserva(Handle& hConn, Handle& hStmt, int16_t& nIndex) {
    nIndex = 0;
    for (int16_t i = 1; i <= SlotCount; ++i) {
        Slot& slot = stack_[i];
        if (!slot.bUsada) {
            // A slot whose connect once failed is connected anew before it serves.
            if (!slot.ligada()) ConectaSlot(i);
            slot.bUsada = true;
            hConn = slot.conn.get();
            hStmt = slot.stmt.get();
            nIndex = i;
            break;
        }
    }
    if (nIndex == 0) {
        if (SlotCount == std::numeric_limits<int16_t>::max()) throw Error(kOverflow);
        // The first index past the counted stack that no result set holds: a slot whose
        // connect failed may still be held there.
        size_t j = static_cast<size_t>(SlotCount) + 1;
        while (j < stack_.size() && stack_[j].bUsada) ++j;
        if (j > static_cast<size_t>(std::numeric_limits<int16_t>::max())) throw Error(kOverflow);
        if (stack_.size() <= j) stack_.resize(j + 1);
        ConectaSlot(static_cast<int16_t>(j));
        Slot& slot = stack_[j];
        slot.bUsada = true;
        hConn = slot.conn.get();
        hStmt = slot.stmt.get();
        nIndex = static_cast<int16_t>(j);
        if (!erro) SlotCount = nIndex;
        if (Log) HistoriaAdd("Stack + ", std::to_string(SlotCount), true);
    }
    MASS_SegueConexão();
}

void kvlSERV::StackLiberta(int16_t nIndex) {
    Slot& slot = SlotEm(nIndex);
    if (slot.bUsada && slot.stmt.get()) Retorno = api_->CloseCursor(slot.stmt.get());
    slot.bUsada = slot.cursor = false;
    // A slot whose connect failed is given up at once.
    if (!slot.ligada()) slot.Liberta();

    if (SlotCount > lStackBase) {
        int16_t firstExtra = static_cast<int16_t>(std::max<int>(lStackBase, 0) + 1);
        bool extraBusy = false;
        for (int16_t i = firstExtra; i <= SlotCount; ++i) extraBusy |= stack_[i].bUsada;
        if (!extraBusy) {
            EncolheParaBase();
            if (Log) HistoriaAdd("Stack - ", std::to_string(SlotCount), true);
        }
    }
    MASS_SegueConexão();
}

void kvlSERV::EncolheParaBase() {
    size_t base = static_cast<size_t>(std::max<int>(lStackBase, 0));
    for (size_t j = base + 1; j <= static_cast<size_t>(SlotCount); ++j) stack_[j].Liberta();
    SlotCount = static_cast<int16_t>(base);
    // Keep the array past the base only while a slot out there still holds handles.
    bool heldBeyond = std::any_of(stack_.begin() + static_cast<long>(base) + 1, stack_.end(),
                                  [](const Slot& s) { return s.conn.get() != 0 || s.bUsada; });
    if (!heldBeyond) stack_.resize(base + 1);
}

void kvlSERV::StackItemGet(int16_t nIndex, bool& bUsada, Handle* hConn, Handle* hStmt) const {
    const Slot& slot = SlotEm(nIndex);
    bUsada = slot.bUsada;
    if (hConn) *hConn = slot.conn.get();
    if (hStmt) *hStmt = slot.stmt.get();
}

std::shared_ptr<kvlRES> kvlSERV::StackGetNovo() {
    auto res = std::make_shared<kvlRES>();
    ReservaPara(*res);
    return res;
}

void kvlSERV::ReservaPara(kvlRES& r) {
    StackReserva(r.hConn, r.hStmt, r.Indice);
    r.lease_ = {weak_from_this(), this, geracao_, api_};
}

bool kvlSERV::SlotVivo(int16_t nIndex, uint64_t g) const {
    return g == geracao_ && nIndex > 0 && static_cast<size_t>(nIndex) < stack_.size() &&
           stack_[nIndex].bUsada;
}

void kvlSERV::MASS_SegueConexão() {
    if (NRegistos >= 120 || NRegistos < 0) {
        NRegistos = 0;
        UsoBase.assign(1, 0);
        UsoExtra.assign(1, 0);
    }
    ++NRegistos;
    // Room for the 120 samples is reserved once: no allocation per reservation.
    UsoBase.reserve(121);
    UsoExtra.reserve(121);
    UsoBase.resize(static_cast<size_t>(NRegistos) + 1);
    UsoExtra.resize(static_cast<size_t>(NRegistos) + 1);
    UsoBase[NRegistos] = UsoExtra[NRegistos] = 0;
    for (int16_t i = 1; i <= SlotCount; ++i) {
        if (stack_[static_cast<size_t>(i)].bUsada)
            Conta(i > lStackBase ? UsoExtra[NRegistos] : UsoBase[NRegistos]);
    }
}

int16_t kvlSERV::GetBase(int16_t Index) const {
    if (Index < 0 || static_cast<size_t>(Index) >= UsoBase.size())
        throw Error(kSubscriptOutOfRange);
    return UsoBase[Index];
}

int16_t kvlSERV::GetExtra(int16_t Index) const {
    if (Index < 0 || static_cast<size_t>(Index) >= UsoExtra.size())
        throw Error(kSubscriptOutOfRange);
    return UsoExtra[Index];
}

}  // namespace kvl
