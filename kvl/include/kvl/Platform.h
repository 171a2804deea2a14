#pragma once
// The few questions the library asks of the operating system.

#include <string>
#include <string_view>

#include "kvl/Export.h"

namespace kvl {

// A file or folder (hidden ones included) exists at path; wildcards match entries.
// Never fails: any error of the lookup gives false.
KVL_API bool PathOK(std::string_view path);

// The login name of the session's user; "" when the system cannot tell it.
KVL_API std::string UtilizadorNome();

// The computer's name; "" on failure.
KVL_API std::string ComputadorNome();

}  // namespace kvl
