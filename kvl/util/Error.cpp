#include "kvl/Error.h"

namespace kvl {

std::string Error::StandardDescription(int32_t number) {
    switch (number) {
        case kInvalidCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kSubscriptOutOfRange:
            return "Subscript out of range";
        case kTypeMismatch:
            return "Type mismatch";
        case kFileNotFound:
            return "File not found";
        case kFileAlreadyExists:
            return "File already exists";
        case kDiskFull:
            return "Disk full";
        case kPermissionDenied:
            return "Permission denied";
        case kPathFileAccessError:
            return "Path/File access error";
        case kPathNotFound:
            return "Path not found";
        case kObjectNotSet:
            return "Object variable or With block variable not set";
        case kCannotCreateObject:
            return "ActiveX component can't create object";
        case kNoSuchMember:
            return "Object doesn't support this property or method";
        default:
            return "";
    }
}

Error::Error(int32_t number) : Error(number, StandardDescription(number)) {}

Error::Error(int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

}  // namespace kvl
