// The statement stack: base slots connected for the whole session, extra slots connected
// on demand and all disconnected once the last busy one is released.

#include <algorithm>
#include <limits>

#include "../result/ResultImpl.h"
#include "SessionImpl.h"
#include "kvl/Error.h"

namespace kvl {

namespace {

void Count(uint8_t& counter) {
    if (counter == std::numeric_limits<uint8_t>::max()) throw Error(kOverflow);
    ++counter;
}

// Connects the slot at index anew: handles left on it by a failed open go first.
void Reconnect(kvlSERV::Impl& e, int16_t index) {
    StatementPool::Slot& slot = e.pool->At(index);
    bool busy = slot.busy;
    slot.Free();
    slot.busy = busy;
    e.Connect(slot);
}

}  // namespace

int16_t kvlSERV::Stack() const {
    return impl().pool->count;
}

void kvlSERV::StackBase(int16_t n) {
    lStackBase = n;
    if (hEnv == 0) return;  // takes effect at the next open
    StatementPool& pool = *impl().pool;
    if (n > pool.count) pool.Grow(static_cast<size_t>(n) + 1);
    StackReservaConexões(static_cast<int16_t>(pool.count + 1), lStackBase);
    if (pool.count < lStackBase && Aberto) pool.count = lStackBase;
}

void kvlSERV::StackReservaConexões(int16_t De, int16_t Ate) {
    // After a refused connect the next would only be refused again (and count against a
    // lockout policy): the slots left are connected when they are first reserved.
    for (int32_t i = De; i <= Ate; ++i) {
        Reconnect(impl(), static_cast<int16_t>(i));
        if (!impl().pool->At(static_cast<int16_t>(i)).connected()) break;
    }
}

void kvlSERV::StackReserva(Handle& hConn, Handle& hStmt, int16_t& nIndex) {
    // The caller gives the slot back with StackLiberta.
    nIndex = impl().Reserve();
    const StatementPool::Slot& slot = impl().pool->At(nIndex);
    hConn = slot.conn.get();
    hStmt = slot.stmt.get();
}

SlotLease kvlSERV::Impl::Lease() {
    return SlotLease(pool, Reserve());
}

int16_t kvlSERV::Impl::Reserve() {
    StatementPool& p = *pool;
    int16_t index = 0;
    for (int16_t i = 1; i <= p.count; ++i) {
        StatementPool::Slot& slot = p.At(i);
        if (!slot.busy) {
            // A slot whose connect once failed is connected anew before it serves.
            if (!slot.connected()) Reconnect(*this, i);
            slot.busy = true;
            index = i;
            break;
        }
    }
    if (index == 0) {
        if (p.count == std::numeric_limits<int16_t>::max()) throw Error(kOverflow);
        // The first index past the counted stack that no result set holds: a slot whose
        // connect failed may still be held there.
        size_t j = static_cast<size_t>(p.count) + 1;
        while (j < p.Size() && p.At(static_cast<int16_t>(j)).busy) ++j;
        if (j > static_cast<size_t>(std::numeric_limits<int16_t>::max())) throw Error(kOverflow);
        p.Grow(j + 1);
        index = static_cast<int16_t>(j);
        Reconnect(*this, index);
        p.At(index).busy = true;
        if (!self.erro) p.count = index;
        if (self.Log) self.HistoriaAdd("Stack + ", std::to_string(p.count), true);
    }
    self.MASS_SegueConexão();
    return index;
}

void kvlSERV::StackLiberta(int16_t nIndex) {
    impl().pool->Release(nIndex);
}

void kvlSERV::StackItemGet(int16_t nIndex, bool& bUsada, Handle* hConn, Handle* hStmt) const {
    const StatementPool::Slot& slot = impl().pool->At(nIndex);
    bUsada = slot.busy;
    if (hConn) *hConn = slot.conn.get();
    if (hStmt) *hStmt = slot.stmt.get();
}

std::shared_ptr<kvlRES> kvlSERV::StackGetNovo() {
    auto res = std::make_shared<kvlRES>();
    res->impl().Hold(impl().Lease());
    return res;
}

void kvlSERV::MASS_SegueConexão() {
    Impl& e = impl();
    if (NRegistos >= 120 || NRegistos < 0) {
        NRegistos = 0;
        e.usageBase.assign(1, 0);
        e.usageExtra.assign(1, 0);
    }
    ++NRegistos;
    const auto samples = static_cast<size_t>(NRegistos) + 1;
    if (e.usageBase.size() != samples || e.usageExtra.size() != samples) {
        // Room for the 120 samples is reserved once: no allocation per reservation.
        e.usageBase.reserve(121);
        e.usageExtra.reserve(121);
        e.usageBase.resize(samples);
        e.usageExtra.resize(samples);
    }
    uint8_t& base = e.usageBase[NRegistos];
    uint8_t& extra = e.usageExtra[NRegistos];
    base = extra = 0;
    for (int16_t i = 1; i <= e.pool->count; ++i) {
        if (e.pool->At(i).busy) Count(i > lStackBase ? extra : base);
    }
}

int16_t kvlSERV::GetBase(int16_t Index) const {
    if (Index < 0 || static_cast<size_t>(Index) >= impl().usageBase.size())
        throw Error(kSubscriptOutOfRange);
    return impl().usageBase[Index];
}

int16_t kvlSERV::GetExtra(int16_t Index) const {
    if (Index < 0 || static_cast<size_t>(Index) >= impl().usageExtra.size())
        throw Error(kSubscriptOutOfRange);
    return impl().usageExtra[Index];
}

}  // namespace kvl
