#pragma once
// What the file operations of this layer share: the temporary names they give files beside
// their targets, and the errors they throw.

#include <string>
#include <string_view>

#include "kvl/Error.h"

namespace winhost::detail {

// What is missing when a name is not found decides between "file not found" and "path not
// found".
enum class Missing { File, Path };

kvl::Error FileError(int errnoValue, Missing missing, std::string_view name);

// The folder part of a Windows path: what a "path not found" names.
std::string FolderOf(const std::string& windowsPath);

// Suffixes of the two kinds of temporary file: a copy not yet in its target's place, and a
// previous file kept until the files it is replaced with are all in place. RemoveLeftovers
// (Removal.h) knows them both.
inline constexpr std::string_view kCopySuffix = ".part";
inline constexpr std::string_view kKeptSuffix = ".keep";

// A hidden name that no listing of the installers shows, short enough for any target name.
std::string TemporaryName(std::string_view suffix);

}  // namespace winhost::detail
