#include "RowStore.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace kvl {

namespace {

// The longest length prefix: a 64-bit value in 7-bit groups.
constexpr size_t kMaxVarint = 10;

constexpr size_t kFirstBlock = size_t{64} << 10;
constexpr size_t kLargestBlock = size_t{4} << 20;
// From this size on a block is mapped on its own, on a huge-page boundary.
constexpr size_t kHugePage = size_t{2} << 20;

char* PutVarint(char* p, uint64_t v) {
    while (v >= 0x80) {
        *p++ = static_cast<char>((v & 0x7F) | 0x80);
        v >>= 7;
    }
    *p++ = static_cast<char>(v);
    return p;
}

std::string_view TextOf(const Variant& v, std::string& scratch) {
    if (const std::string* s = v.IfString()) return *s;
    scratch = v.ToString();
    return scratch;
}

// `size` bytes (a multiple of kHugePage) on a kHugePage boundary, advised for huge pages:
// one page fault then brings in 2 MB rather than 4 KB.
char* MapHuge(size_t size) {
    void* p =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    auto* raw = static_cast<char*>(p);
    auto address = reinterpret_cast<uintptr_t>(raw);
    char* start = raw + ((kHugePage - address % kHugePage) % kHugePage);
    if (start > raw) munmap(raw, static_cast<size_t>(start - raw));
    char* end = raw + size + kHugePage;
    if (end > start + size) munmap(start + size, static_cast<size_t>(end - (start + size)));
#ifdef MADV_HUGEPAGE
    madvise(start, size, MADV_HUGEPAGE);  // a hint: without huge pages the block still serves
#endif
    return start;
}

}  // namespace

RowStore::~RowStore() {
    for (const Block& b : blocks_) {
        if (!b.data) continue;
        if (b.mapped) {
            munmap(b.data, b.size);
        } else {
            delete[] b.data;
        }
    }
}

const char* RowStore::GetLongVarint(const char* p, uint64_t& v) {
    v = 0;
    for (int shift = 0;; shift += 7) {
        auto b = static_cast<unsigned char>(*p++);
        v |= uint64_t{b & 0x7Fu} << shift;
        if (!(b & 0x80)) return p;
    }
}

void RowStore::AddBlock(size_t size) {
    size_t room = blocks_.empty() ? kFirstBlock : std::min(blocks_.back().size * 2, kLargestBlock);
    room = std::max(room, size);
    const bool mapped = room >= kHugePage;
    if (mapped) room = (room + kHugePage - 1) / kHugePage * kHugePage;
    // Listed before it is allocated, so that nothing leaks when the allocation throws.
    Block& b = blocks_.emplace_back(Block{nullptr, room, mapped});
    b.data = mapped ? MapHuge(room) : new char[room];
    free_ = b.data;
    end_ = b.data + room;
}

char* RowStore::Relocate(const char*& record, char* p, const std::vector<Coluna>& columns,
                         size_t from) {
    const auto written = static_cast<size_t>(p - record);
    size_t need = written + kMaxVarint;
    std::string scratch;
    for (size_t n = from; n < columns.size(); ++n)
        need += TextOf(columns[n].Valor, scratch).size() + kMaxVarint;
    // Room for the index's next chunk too, so that noting the record keeps to this block.
    AddBlock(need + kChunkRows * sizeof(const char*) + alignof(const char*));
    if (written) std::memcpy(free_, record, written);
    record = free_;
    return free_ + written;
}

void RowStore::AddChunk() {
    const size_t bytes = kChunkRows * sizeof(const char*);
    auto at = reinterpret_cast<uintptr_t>(free_);
    size_t pad = (alignof(const char*) - at % alignof(const char*)) % alignof(const char*);
    if (static_cast<size_t>(end_ - free_) < pad + bytes) {
        AddBlock(bytes);
        pad = 0;
    }
    index_.push_back(reinterpret_cast<const char**>(free_ + pad));
    free_ += pad + bytes;
}

void RowStore::Store(int32_t row, const std::vector<Coluna>& columns) {
    // One pass: each value goes straight after its length prefix while the block has room;
    // a record that outgrows the block moves to a new one sized for the rest.
    if (row < 1) return;  // row 0 and below are never read
    const size_t count = columns.size() - 1;
    const char* record = free_;
    char* p = free_;
    if (static_cast<size_t>(end_ - p) < kMaxVarint) p = Relocate(record, p, columns, 1);
    p = PutVarint(p, count);
    // The end in a local: the bytes written through p could otherwise be end_ itself.
    const char* end = end_;
    std::string scratch;
    for (size_t n = 1; n <= count; ++n) {
        const Coluna& c = columns[n];
        std::string_view text = TextOf(c.Valor, scratch);
        if (static_cast<size_t>(end - p) < text.size() + kMaxVarint) {
            p = Relocate(record, p, columns, n);
            end = end_;
        }
        uint64_t head = text.size() * 2 + (c.SeNull ? 1 : 0);
        if (head < 0x80) {
            *p++ = static_cast<char>(head);
        } else {
            p = PutVarint(p, head);
        }
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    }
    free_ = p;
    // Rows skipped on the way to this one were never stored.
    for (int64_t skipped = int64_t{rows_} + 1; skipped < row; ++skipped)
        Slot(static_cast<int32_t>(skipped)) = nullptr;
    Slot(row) = record;
    if (row > rows_) rows_ = row;
}

std::string_view RowStore::Value(int32_t row, int16_t column, bool& isNull) const {
    if (column < 1) throw Error(kSubscriptOutOfRange);
    Reader r = Row(row);
    if (r.p_ && column > r.left_) throw Error(kSubscriptOutOfRange);
    for (int16_t n = 1; n < column; ++n) r.Next(isNull);
    return r.Next(isNull);
}

}  // namespace kvl
