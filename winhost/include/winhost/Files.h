#pragma once
// File operations both installers carry out on the host, with failures reported by the classic
// numbers: 53 file not found, 76 path not found, 70 permission denied, 61 disk full, 75
// path/file access error.

#include <filesystem>

#include "kvl/Error.h"

namespace winhost {

// What is missing when a name is not found decides between "file not found" and "path not
// found".
enum class Missing { File, Path };

// The classic error for an errno value.
kvl::Error FileError(int errnoValue, Missing missing);

// Copies a file over another (host paths). The copy is written under a temporary name in the
// target's folder and then renamed over the target, so the target is never seen half-written:
// a copy that fails leaves the previous file as it was and no temporary file behind. The copy
// keeps the source's permission bits (less the umask).
void ReplaceFile(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace winhost
