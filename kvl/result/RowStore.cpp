#include "RowStore.h"

#include <cstring>

#include "kvl/Error.h"

namespace kvl {

namespace {

// The longest length prefix: a 64-bit value in 7-bit groups.
constexpr size_t kMaxVarint = 10;

char* PutVarint(char* p, uint64_t v) {
    while (v >= 0x80) {
        *p++ = static_cast<char>((v & 0x7F) | 0x80);
        v >>= 7;
    }
    *p++ = static_cast<char>(v);
    return p;
}

const char* GetVarint(const char* p, uint64_t& v) {
    v = 0;
    for (int shift = 0;; shift += 7) {
        auto b = static_cast<unsigned char>(*p++);
        v |= uint64_t{b & 0x7Fu} << shift;
        if (!(b & 0x80)) return p;
    }
}

std::string_view TextOf(const Variant& v, std::string& scratch) {
    if (const std::string* s = v.IfString()) return *s;
    scratch = v.ToString();
    return scratch;
}

}  // namespace

char* RowStore::Reserve(size_t size) {
    if (size > freeSize_) {
        size_t room = std::max(size, kBlockSize);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(room));
        blockBytes_ += room;
        free_ = blocks_.back().get();
        freeSize_ = room;
    }
    return free_;
}

void RowStore::Commit(size_t used) {
    free_ += used;
    freeSize_ -= used;
}

void RowStore::Store(int32_t row, const std::vector<Coluna>& columns) {
    // One pass: each value is written straight after its length prefix; the room is
    // reserved for the longest prefixes and the record ends where the values ended.
    std::string scratch;
    size_t room = 0;
    for (size_t n = 1; n < columns.size(); ++n)
        room += TextOf(columns[n].Valor, scratch).size() + kMaxVarint;
    char* record = Reserve(room);
    char* p = record;
    for (size_t n = 1; n < columns.size(); ++n) {
        std::string_view text = TextOf(columns[n].Valor, scratch);
        p = PutVarint(p, text.size() * 2 + (columns[n].SeNull ? 1 : 0));
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    }
    Commit(static_cast<size_t>(p - record));
    auto count = static_cast<int16_t>(columns.size() - 1);
    if (static_cast<size_t>(row) == rows_.size()) {  // the next row, as rows are read
        rows_.push_back(record);
        columns_.push_back(count);
        return;
    }
    if (rows_.size() <= static_cast<size_t>(row)) {
        rows_.resize(static_cast<size_t>(row) + 1, nullptr);
        columns_.resize(static_cast<size_t>(row) + 1, 0);
    }
    rows_[row] = record;
    columns_[row] = count;
}

std::string_view RowStore::Value(int32_t row, int16_t column, bool& isNull) const {
    if (row < 1 || static_cast<size_t>(row) >= rows_.size() || column < 1)
        throw Error(kSubscriptOutOfRange);
    isNull = false;
    const char* p = rows_[row];
    if (!p) return {};
    if (column > columns_[row]) throw Error(kSubscriptOutOfRange);
    for (int16_t n = 1;; ++n) {
        uint64_t head = 0;
        p = GetVarint(p, head);
        size_t length = head / 2;
        if (n == column) {
            isNull = head & 1;
            return {p, length};
        }
        p += length;
    }
}

RowStore::Reader RowStore::Row(int32_t row) const {
    if (row < 1 || static_cast<size_t>(row) >= rows_.size()) throw Error(kSubscriptOutOfRange);
    Reader r;
    r.p_ = rows_[row];
    r.left_ = r.p_ ? columns_[row] : 0;
    return r;
}

std::string_view RowStore::Reader::Next(bool& isNull) {
    isNull = false;
    if (left_ <= 0) return {};
    --left_;
    uint64_t head = 0;
    p_ = GetVarint(p_, head);
    isNull = head & 1;
    std::string_view value(p_, head / 2);
    p_ += head / 2;
    return value;
}

size_t RowStore::BytesHeld() const {
    return blockBytes_ + rows_.size() * (sizeof(const char*) + sizeof(int16_t));
}

}  // namespace kvl
