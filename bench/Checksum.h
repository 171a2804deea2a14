#pragma once
// A checksum of every value a reader gives, in order: each value's NULL flag, length and
// bytes. Two readers of the same rows that end with the same checksum read the same values.
// The library's text reading gives NULL and the empty text alike (both flagged NULL); the
// benchmarks' data holds neither, so every reader of it agrees.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kvlbench {

struct Checksum {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
    uint64_t values = 0;
    uint64_t bytes = 0;

    void Add(std::string_view value, bool isNull) {
        Mix(isNull ? 1 : 0);
        // The length first, so that no value can run into the next one.
        for (uint64_t n = value.size(), i = 0; i < 8; ++i, n >>= 8) Mix(n & 0xFF);
        for (unsigned char c : value) Mix(c);
        ++values;
        bytes += value.size();
    }

    std::string Text() const {
        char text[80];
        std::snprintf(text, sizeof text, "checksum %016llx, %llu values, %llu bytes",
                      static_cast<unsigned long long>(hash),
                      static_cast<unsigned long long>(values),
                      static_cast<unsigned long long>(bytes));
        return text;
    }

    bool operator==(const Checksum&) const = default;

  private:
    void Mix(uint64_t byte) { hash = (hash ^ byte) * 1099511628211ull; }
};

}  // namespace kvlbench
