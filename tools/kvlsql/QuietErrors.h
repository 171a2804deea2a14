#pragma once
// Keeps the library's error dialog shut while it lives: for commands kvlsql writes itself,
// whose failure it tells in its own words.

#include <utility>

#include "kvl/kvlSERV.h"

namespace kvlsql {

class QuietErrors {
  public:
    explicit QuietErrors(kvl::kvlSERV& s) : s_(s), was_(std::exchange(s.ComMsg, false)) {}
    ~QuietErrors() { s_.ComMsg = was_; }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    kvl::kvlSERV& s_;
    bool was_;
};

}  // namespace kvlsql
