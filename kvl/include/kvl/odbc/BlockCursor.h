#pragma once
// The block-fetching part of the one cursor: the rows of a statement's current result
// fetched many at a time into bound buffers, column by column. The cursor's rules hold here
// too: a value arrives whole (one its buffer cannot hold is read whole with GetData, in
// place within the block where the driver can position there), and a failed fetch is a
// failure, never the end. A failure stays: every later call gives it again.

#include <cstdint>
#include <string>
#include <vector>

#include "kvl/Export.h"
#include "kvl/odbc/Cursor.h"

namespace kvl::odbc {

// How a column is read: as text (kCharData) or bytes (kBinaryData), bound with room bytes
// for each row's value, or, with room 0, read whole with GetData.
struct ColumnPlan {
    int16_t cType = kCharData;
    int64_t room = 0;
};

// One value of the current row as its buffer holds it; partial when ReadWhole must give it.
struct BlockValue {
    const char* data = nullptr;
    size_t size = 0;
    bool isNull = false;
    bool partial = false;
};

class KVL_API BlockCursor {
  public:
    // The bound bytes of a block stay under this: wide rows make blocks of fewer rows.
    static constexpr int64_t kMaxBlockBytes = int64_t{4} << 20;
    // A column needing more room than this a row is read whole instead.
    static constexpr int64_t kWidestBound = 4096;

    explicit BlockCursor(const Cursor& cursor) : cursor_(cursor) {}
    BlockCursor(const BlockCursor&) = delete;
    BlockCursor& operator=(const BlockCursor&) = delete;

    // Binds the statement's current result as planned for blocks of up to rowsPerBlock rows.
    // getData is the driver's kInfoGetDataExtensions: a driver that cannot position GetData
    // within a block fetches one row at a time (a value longer than its buffer is then read
    // on the current row); one that cannot read bound columns, or unbound ones among them,
    // with GetData gets nothing bound. A column the driver refuses to bind is read whole.
    void Bind(const std::vector<ColumnPlan>& plan, int64_t rowsPerBlock, uint32_t getData);

    // Moves to the next row: of the block, or of a new block fetched. Rows of a block that
    // the driver marks failed end it with a failure at that row; a fetch that fails as a whole
    // gives no row of its block.
    Fetched Next();
    // Column's value (from 1) in the current row.
    BlockValue Value(uint16_t column) const {
        const Column& c = columns_[column - 1];
        if (!c.bound) return {nullptr, 0, false, true};
        const int64_t length = c.lengths[row_];
        if (length == kNullData) return {nullptr, 0, true, false};
        // Text ends with a NUL inside the room; a longer value was cut.
        const int64_t fits = c.plan.room - (c.plan.cType == kCharData ? 1 : 0);
        if (length == kNoTotal || length > fits) return {nullptr, 0, false, true};
        return {c.data.data() + row_ * static_cast<uint64_t>(c.plan.room),
                static_cast<size_t>(length < 0 ? 0 : length), false, false};
    }
    // Reads column's value in the current row whole. On a failure (rc) the cursor fails.
    ValueRead ReadWhole(uint16_t column, std::string& value);

    // The failure that stopped the reading: its return code and the driver's diagnostics.
    bool failed() const { return failed_; }
    Return failureCode() const { return failureCode_; }
    const std::vector<Diagnostic>& failure() const { return failure_; }
    int64_t rowsPerBlock() const { return rows_; }

    // Leaves the statement as it was before Bind: nothing bound, one row per fetch, no row
    // status or count written anywhere. Call it while the statement handle is alive.
    void Unbind();

  private:
    struct Column {
        ColumnPlan plan;
        bool bound = false;
        std::vector<char> data;        // rows x plan.room
        std::vector<int64_t> lengths;  // one a row
    };

    bool BlocksAccepted(int64_t rows);
    void OneRowPerFetch();
    void BindColumn(uint16_t n, Column& c);
    Fetched FetchBlock();
    Fetched Fail(Return rc);

    Cursor cursor_;
    std::vector<Column> columns_;
    std::vector<uint16_t> status_;
    uint64_t fetched_ = 0;
    int64_t rows_ = 1;
    bool blocks_ = false;  // the statement's row array and status attributes are set
    uint64_t row_ = 0;     // the current row in the block
    uint64_t deliverable_ = 0;
    uint64_t positioned_ = 0;  // the row SetPos chose, from 1; 0 for none
    bool rowFailed_ = false;   // the row at deliverable_ failed
    bool ended_ = false;
    bool failed_ = false;
    Return failureCode_ = kSuccess;
    std::vector<Diagnostic> failure_;
};

}  // namespace kvl::odbc
