#pragma once
// Keeps the library's error dialog shut while it lives: for commands the programs write
// themselves, whose failure they handle or tell in their own words.

#include <utility>

#include "kvl/kvlSERV.h"

namespace kvlsession {

class MessagesOff {
  public:
    explicit MessagesOff(kvl::kvlSERV& s) : s_(s), was_(std::exchange(s.ComMsg, false)) {}
    ~MessagesOff() { s_.ComMsg = was_; }
    MessagesOff(const MessagesOff&) = delete;
    MessagesOff& operator=(const MessagesOff&) = delete;

  private:
    kvl::kvlSERV& s_;
    bool was_;
};

}  // namespace kvlsession
