#pragma once
// The few questions the library asks of the operating system.

#include <string>
#include <string_view>

namespace kvl {

// A file or folder (hidden ones included) exists at path; wildcards match entries.
// Never fails: any error of the lookup gives false.
bool PathOK(std::string_view path);

// The login name of the session's user; "" when the system cannot tell it.
std::string UtilizadorNome();

// The computer's name; "" on failure.
std::string ComputadorNome();

}  // namespace kvl
