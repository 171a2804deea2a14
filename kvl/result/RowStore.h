#pragma once
// The stored rows of a result set, kept compact: each row is one record in large blocks
// (its value count, then each value's length prefix, the NULL flag folded in, and its
// bytes), so a million stored rows cost little more than their text and never one
// allocation per value. The row index lives in the blocks too, in chunks. Blocks double
// from a small first one, so a few rows take little room and a million rows few blocks;
// the large ones are mapped on their own and advised for huge pages, so that storing many
// rows does not pay a page fault for every 4 KB of fresh memory.

#include <cstdint>
#include <string_view>
#include <vector>

#include "Column.h"
#include "kvl/Error.h"

namespace kvl {

class RowStore {
  public:
    RowStore() = default;
    ~RowStore();
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    // Stores columns 1.. of the current row as row number `row` (1-based), replacing
    // any row stored under that number before.
    void Store(int32_t row, const std::vector<Coluna>& columns);
    // The stored value; rows never stored read as empty, non-NULL values.
    // Error 9 beyond the stored rows or columns.
    std::string_view Value(int32_t row, int16_t column, bool& isNull) const;
    int32_t Rows() const { return rows_; }

    // Walks the values of one stored row in column order, decoding each once.
    class Reader {
      public:
        Reader() = default;
        // The next value; past the row's last value, or in a row never stored, an empty
        // non-NULL one.
        std::string_view Next(bool& isNull) {
            isNull = false;
            if (left_ <= 0) return {};
            --left_;
            uint64_t head = 0;
            p_ = GetVarint(p_, head);
            isNull = head & 1;
            std::string_view value(p_, head >> 1);
            p_ += head >> 1;
            return value;
        }

      private:
        friend class RowStore;
        const char* p_ = nullptr;
        int32_t left_ = 0;
    };
    // Error 9 beyond the stored rows.
    Reader Row(int32_t row) const {
        if (row < 1 || row > rows_) throw Error(kSubscriptOutOfRange);
        Reader r;
        r.p_ = Record(row);
        if (r.p_) {
            uint64_t count = 0;
            r.p_ = GetVarint(r.p_, count);
            r.left_ = static_cast<int32_t>(count);
        }
        return r;
    }

  private:
    // Length prefixes: 7 bits a byte, low groups first; most take one byte.
    static const char* GetVarint(const char* p, uint64_t& v) {
        auto b = static_cast<unsigned char>(*p);
        if (b < 0x80) {
            v = b;
            return p + 1;
        }
        return GetLongVarint(p, v);
    }
    static const char* GetLongVarint(const char* p, uint64_t& v);

    struct Block {
        char* data;
        size_t size;
        bool mapped;
    };
    // A new last block with room for at least `size` bytes; the room left in the one
    // before is given up.
    void AddBlock(size_t size);
    // Moves the record begun at `record` and written up to `p` to a new block with room for
    // it and for columns `from`.. still to come; `record` then points at the moved record
    // and the answer is where writing goes on.
    char* Relocate(const char*& record, char* p, const std::vector<Coluna>& columns, size_t from);
    // Where row's record is noted; the index grows a chunk at a time.
    const char*& Slot(int32_t row) {
        const size_t chunk = static_cast<size_t>(row) >> kChunkShift;
        if (chunk == index_.size()) AddChunk();
        return index_[chunk][static_cast<size_t>(row) & (kChunkRows - 1)];
    }
    void AddChunk();
    const char* Record(int32_t row) const {
        return index_[static_cast<size_t>(row) >> kChunkShift]
                     [static_cast<size_t>(row) & (kChunkRows - 1)];
    }

    static constexpr size_t kChunkShift = 12;
    static constexpr size_t kChunkRows = size_t{1} << kChunkShift;

    std::vector<Block> blocks_;
    char* free_ = nullptr;  // the unused room of the last block
    char* end_ = nullptr;
    std::vector<const char**> index_;  // chunks of kChunkRows records; row 0 unused
    int32_t rows_ = 0;                 // the highest row number stored
};

}  // namespace kvl
