// The slots and environment of a session, and the leases that hold them.

#include "StatementPool.h"

#include <algorithm>

#include "kvl/kvlSERV.h"

namespace kvl {

StatementPool::StatementPool(std::shared_ptr<odbc::Api> api, kvlSERV& session)
    : api_(std::move(api)), session_(session) {}

odbc::Return StatementPool::OpenEnvironment() {
    env_.reset();
    env_.emplace(api_);
    odbc::Return rc = env_->status();
    if (!odbc::Succeeded(rc)) env_.reset();
    return rc;
}

void StatementPool::FreeAll() {
    for (Slot& slot : slots_) slot.Free();
    slots_.resize(1);
    count = 0;
    env_.reset();
    ++generation_;
}

void StatementPool::Release(int16_t index) {
    Slot& slot = At(index);
    if (slot.busy && slot.stmt.get()) api_->CloseCursor(slot.stmt.get());
    slot.busy = false;
    // A slot whose connect failed is given up at once.
    if (!slot.connected()) slot.Free();

    int16_t base = session_.lStackBase;
    if (count > base) {
        bool extraBusy = false;
        for (int16_t i = static_cast<int16_t>(std::max<int>(base, 0) + 1); i <= count; ++i)
            extraBusy |= slots_[static_cast<size_t>(i)].busy;
        if (!extraBusy) {
            ShrinkToBase();
            if (session_.Log) session_.HistoriaAdd("Stack - ", std::to_string(count), true);
        }
    }
    session_.MASS_SegueConexão();
}

void StatementPool::ShrinkToBase() {
    size_t base = static_cast<size_t>(std::max<int>(session_.lStackBase, 0));
    for (size_t j = base + 1; j <= static_cast<size_t>(count); ++j) slots_[j].Free();
    count = static_cast<int16_t>(base);
    // Keep the array past the base only while a slot out there still holds handles.
    bool heldBeyond = std::any_of(slots_.begin() + static_cast<long>(base) + 1, slots_.end(),
                                  [](const Slot& s) { return s.conn.get() != 0 || s.busy; });
    if (!heldBeyond) slots_.resize(base + 1);
}

SlotLease::SlotLease(std::shared_ptr<StatementPool> pool, int16_t index)
    : pool_(std::move(pool)), index_(index), generation_(pool_->generation()) {}

SlotLease& SlotLease::operator=(SlotLease&& other) noexcept {
    if (this != &other) {
        Release();
        pool_ = std::move(other.pool_);
        index_ = std::exchange(other.index_, 0);
        generation_ = other.generation_;
    }
    return *this;
}

bool SlotLease::Release(bool rowsLeft) {
    bool live = Live();
    if (live) {
        pool_->rowsLeft = rowsLeft;
        pool_->Release(index_);
    }
    pool_.reset();
    index_ = 0;
    return live;
}

}  // namespace kvl
