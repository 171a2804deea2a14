#pragma once
// Run-time errors of the library and of the programs that share its helpers.
// They carry the classic automation error numbers that callers test for.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "kvl/Export.h"

namespace kvl {

enum ErrorNumber : int32_t {
    kInvalidCall = 5,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kFileAlreadyExists = 58,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kObjectNotSet = 91,
    kCannotCreateObject = 429,
    kNoSuchMember = 438,
};

class KVL_API Error : public std::runtime_error {
  public:
    // An error with the standard description of its number.
    explicit Error(int32_t number);
    Error(int32_t number, std::string description);

    int32_t number() const { return number_; }
    const std::string& description() const { return description_; }

    // The standard description of an error number ("" when it has none).
    static std::string StandardDescription(int32_t number);

  private:
    int32_t number_;
    std::string description_;
};

}  // namespace kvl
