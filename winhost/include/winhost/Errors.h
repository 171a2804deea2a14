#pragma once
// The classic run-time errors as the two programs show them: in their language (Portuguese),
// naming the file, folder or component that failed.

#include <cstdint>
#include <string>
#include <string_view>

#include "kvl/Error.h"

namespace winhost {

// Error numbers of the Windows host layer beyond the library's own.
inline constexpr int32_t kServerUnavailable = 462;
inline constexpr int32_t kAutomationError = 440;

// The Portuguese description of a classic error number; "" for a number it does not know.
std::string_view PortugueseDescription(int32_t number);

// An error whose description is the Portuguese one followed by what it concerns:
// "Ficheiro não encontrado: C:\ZOV_LT\DLL\KVL2005.dll".
kvl::Error NamedError(int32_t number, std::string_view name);

// What a message shows of an error: its own description, except that the library's English
// standard description (or none) is replaced by the Portuguese one.
std::string Description(const kvl::Error& error);

}  // namespace winhost
