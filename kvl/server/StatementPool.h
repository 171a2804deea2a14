#pragma once
// The session's links to the server: its ODBC environment and its statement slots, each a
// connection with its one statement, owned here and freed once. A result set holds a slot
// through a SlotLease, which gives the slot back when the result set is done with it.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "kvl/Error.h"
#include "kvl/odbc/Handles.h"

namespace kvl {

class kvlSERV;

class StatementPool {
  public:
    struct Slot {
        bool busy = false;
        odbc::Connection conn;
        odbc::Statement stmt;

        Slot() = default;
        Slot(Slot&&) noexcept = default;
        Slot& operator=(Slot&&) = delete;
        bool connected() const { return conn.connected(); }
        // Frees the statement, then the connection.
        void Free() {
            stmt.Reset();
            conn.Reset();
            busy = false;
        }
    };

    // The session is the one whose usage samples and log the slots' comings and goings go
    // to; it outlives every live lease, since its close (which its destructor runs) ends them.
    StatementPool(std::shared_ptr<odbc::Api> api, kvlSERV& session);
    ~StatementPool() { FreeAll(); }
    StatementPool(const StatementPool&) = delete;
    StatementPool& operator=(const StatementPool&) = delete;

    odbc::Api& api() const { return *api_; }

    // A new environment in place of any before it.
    odbc::Return OpenEnvironment();
    Handle env() const { return env_ ? env_->get() : 0; }

    // Frees every slot's handles, then the environment; every lease goes stale.
    void FreeAll();

    // Error 9 outside the slots.
    Slot& At(int16_t index) {
        if (index < 0 || static_cast<size_t>(index) >= slots_.size())
            throw Error(kSubscriptOutOfRange);
        return slots_[static_cast<size_t>(index)];
    }
    const Slot& At(int16_t index) const { return const_cast<StatementPool*>(this)->At(index); }
    size_t Size() const { return slots_.size(); }
    void Grow(size_t size) {
        if (slots_.size() < size) slots_.resize(size);
    }
    // The slots counted on the stack: 1 to count.
    int16_t count = 0;

    // Gives slot index back: its cursor closed, and the extra slots disconnected once none of
    // them is busy.
    void Release(int16_t index);
    // Disconnects the slots past the base.
    void ShrinkToBase();

    uint64_t generation() const { return generation_; }
    bool Live(int16_t index, uint64_t generation) const {
        return generation == generation_ && index > 0 &&
               static_cast<size_t>(index) < slots_.size() &&
               slots_[static_cast<size_t>(index)].busy;
    }
    kvlSERV& session() const { return session_; }

    // Whether the last result set given back still had rows (the session's TemLinhas).
    bool rowsLeft = false;

  private:
    std::shared_ptr<odbc::Api> api_;
    kvlSERV& session_;
    std::optional<odbc::Environment> env_;
    std::vector<Slot> slots_{1};  // element 0 unused
    // Changes whenever the slots are given up, so stale leases can tell.
    uint64_t generation_ = 1;
};

// Where a result set's statement is: the statement of a slot it leases, or a statement of
// its own on a connection taken out of the stack (kvlLIG). Its handles are 0 once it is not
// live any more.
class StatementSource {
  public:
    virtual ~StatementSource() = default;
    virtual bool Live() const = 0;
    virtual Handle conn() const = 0;
    virtual Handle stmt() const = 0;
    // The driver manager of the handles, which outlives them.
    virtual odbc::Api* api() const = 0;
};

// A result set's hold on one slot, from the generation it was taken in. It gives the slot
// back once, when released or destroyed; a slot the session has given up since (a close or a
// reconnection) is not its to give back.
class SlotLease final : public StatementSource {
  public:
    SlotLease() = default;
    SlotLease(std::shared_ptr<StatementPool> pool, int16_t index);
    ~SlotLease() override {
        try {
            Release();
        } catch (...) {
        }
    }
    SlotLease(SlotLease&& other) noexcept { *this = std::move(other); }
    SlotLease& operator=(SlotLease&& other) noexcept;

    bool Live() const override { return pool_ && pool_->Live(index_, generation_); }
    int16_t index() const { return index_; }
    Handle conn() const override { return Live() ? pool_->At(index_).conn.get() : 0; }
    Handle stmt() const override { return Live() ? pool_->At(index_).stmt.get() : 0; }
    odbc::Api* api() const override { return pool_ ? &pool_->api() : nullptr; }
    // Whether the slot's connection is up (its connect may have been refused).
    bool Connected() const { return Live() && pool_->At(index_).connected(); }
    // The session, while the lease is live.
    kvlSERV* session() const { return Live() ? &pool_->session() : nullptr; }
    // Gives the slot back, telling the session whether rows were left; false when it was
    // not live any more.
    bool Release(bool rowsLeft = false);

  private:
    std::shared_ptr<StatementPool> pool_;
    int16_t index_ = 0;
    uint64_t generation_ = 0;
};

}  // namespace kvl
