#pragma once
// What the application services need of a session: run a command and give its rows, run
// commands as one transaction, and place a value inside a SQL string literal. Failures go
// through the session's own error check (dialogs, error properties, log) before they come
// back here.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/Error.h"
#include "kvl/Variant.h"

namespace kvl::services {

// One row of a result, every value as text; columns count from 1.
struct Row {
    std::vector<Variant> values;
    const Variant& Col(int16_t n) const {
        if (n < 1 || static_cast<size_t>(n) > values.size()) throw Error(kSubscriptOutOfRange);
        return values[static_cast<size_t>(n) - 1];
    }
};
using Rows = std::vector<Row>;

// The rows of each result set of a command, in order: those read before a failure, which
// the session's error check has reported.
struct Answer {
    std::vector<Rows> sets;
    // Result set i's rows; none when the command gave fewer.
    const Rows& Set(size_t i) const {
        static const Rows none;
        return i < sets.size() ? sets[i] : none;
    }
};

class Runner {
  public:
    virtual ~Runner() = default;
    // At most maxRows rows of each result set are read.
    virtual Answer Query(const std::string& command,
                         size_t maxRows = std::numeric_limits<size_t>::max()) = 0;
    // The same after the client's pending command text, which runs in front of it.
    virtual Answer QueryAfterPending(const std::string& command,
                                     size_t maxRows = std::numeric_limits<size_t>::max()) = 0;
    // All the commands or none: false when one failed and everything was rolled back.
    virtual bool RunTogether(const std::vector<std::string>& commands) = 0;
    // The text that stands for value between single quotes, never ending the literal early.
    virtual std::string Literal(std::string_view value) const = 0;
};

}  // namespace kvl::services
