#pragma once
// The typed reading of a result set: its columns described and bound, rows fetched in
// blocks, and the current row's values typed. It reads through the result set's slot while
// that slot is still the result set's, and leaves the statement unbound when done with it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../server/StatementPool.h"
#include "TypedColumns.h"
#include "kvl/Error.h"
#include "kvl/TypedValue.h"
#include "kvl/odbc/BlockCursor.h"

namespace kvl {

class TypedRows {
  public:
    static constexpr int32_t kDefaultRowsPerBlock = 1000;

    explicit TypedRows(const StatementSource& lease) : lease_(lease) {}
    ~TypedRows() { Unbind(); }
    TypedRows(const TypedRows&) = delete;
    TypedRows& operator=(const TypedRows&) = delete;

    // The next row of the current result; false at its end, and when the slot is not the
    // result set's any more. Throws OdbcError on a failure, and again on every later call.
    bool Next(std::optional<int32_t> rowsPerBlock);
    // Whether rows are left, read as Next reads them, without throwing.
    bool RowsLeft();
    const TypedValue& Value(int16_t column) const {
        if (column < 1 || static_cast<size_t>(column) > values_.size())
            throw Error(kSubscriptOutOfRange);
        return values_[static_cast<size_t>(column) - 1];
    }
    const odbc::ColumnDescription& Description(int16_t column);

    // Leaves the statement unbound; the last row's values stay.
    void Unbind();
    // Unbinds and forgets the result: the next call reads the statement's current one.
    void Reset();

  private:
    bool Live() const { return stmt_ != 0 && lease_.stmt() == stmt_; }
    void Describe();
    void Bind(int64_t rowsPerBlock);
    void Convert(uint16_t column);
    [[noreturn]] void Throw() const;

    const StatementSource& lease_;
    Handle stmt_ = 0;  // the statement described, while it is the lease's
    bool described_ = false;
    std::vector<TypedColumn> columns_;
    std::vector<TypedValue> values_;
    std::optional<odbc::BlockCursor> block_;
    std::string whole_;  // a value read whole, before it is typed
};

}  // namespace kvl
