#pragma once
// The stored rows of a result set, kept compact: each row is one record in large
// blocks (a length prefix per value, the NULL flag folded in), so a million stored
// rows cost little more than their text and never one allocation per value.

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "Column.h"

namespace kvl {

class RowStore {
  public:
    // Stores columns 1.. of the current row as row number `row` (1-based), replacing
    // any row stored under that number before.
    void Store(int32_t row, const std::vector<Coluna>& columns);
    // The stored value; rows never stored read as empty, non-NULL values.
    // Error 9 beyond the stored rows or columns.
    std::string_view Value(int32_t row, int16_t column, bool& isNull) const;
    int32_t Rows() const { return static_cast<int32_t>(rows_.size()) - 1; }

    // Walks the values of one stored row in column order, decoding each once.
    class Reader {
      public:
        Reader() = default;
        // The next value; past the row's last value, or in a row never stored, an empty
        // non-NULL one.
        std::string_view Next(bool& isNull);

      private:
        friend class RowStore;
        const char* p_ = nullptr;
        int16_t left_ = 0;
    };
    // Error 9 beyond the stored rows.
    Reader Row(int32_t row) const;
    // Bytes held by the blocks and the row index, for measurements.
    size_t BytesHeld() const;

  private:
    // Room for at least size bytes at the end of the last block, then the part used.
    char* Reserve(size_t size);
    void Commit(size_t used);

    static constexpr size_t kBlockSize = size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockBytes_ = 0;  // total room of the blocks
    char* free_ = nullptr;   // the unused room of the last block
    size_t freeSize_ = 0;
    std::deque<const char*> rows_{nullptr};  // row 0 unused; nullptr: never stored
    std::deque<int16_t> columns_{0};         // values in each stored row
};

}  // namespace kvl
