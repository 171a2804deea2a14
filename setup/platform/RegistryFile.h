#pragma once
// Registry values read from a file in the text format of a registry export
// ("Windows Registry Editor Version 5.00" or "REGEDIT4", UTF-16LE with a byte-order
// mark or 8-bit) or of a Wine prefix's system.reg ("WINE REGISTRY Version 2", UTF-8,
// keys relative to HKEY_LOCAL_MACHINE).
//
// Values are read as a 32-bit program reads them: on a 64-bit machine (a Wine prefix marked
// "#arch=win64", or any registry that holds the key HKEY_LOCAL_MACHINE\Software\Wow6432Node)
// such a program's keys under HKEY_LOCAL_MACHINE\Software live in Software\Wow6432Node, so a
// value is looked up there first, then where the path names it.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// Reading a key or value that does not exist, as the Windows registry reports it; also a
// registry file that does not exist (the same "file not found").
inline constexpr int32_t kRegistryKeyNotFound = -2147024894;
inline constexpr int32_t kRegistryFileNotFound = kRegistryKeyNotFound;
// A registry file that is in none of the known formats.
inline constexpr int32_t kRegistryFileInvalid = -2147024883;

class RegistryFile {
  public:
    // The file's keys and values. A missing file, or one of another format, is an error
    // that names it.
    static RegistryFile Load(const std::filesystem::path& file);
    static RegistryFile Parse(std::string_view bytes);

    // $WINEPREFIX/system.reg, else ~/.wine/system.reg.
    static std::filesystem::path DefaultFile();

    // A value by its full path: hive, keys, value name ("" after a final "\" is the
    // key's default value). Letter case is ignored, as in the registry. Numbers read
    // as decimal text; binary values are a type mismatch (13).
    std::string Read(std::string_view fullPath) const;

  private:
    // A value that is not text or a number holds nothing.
    using Values = std::map<std::string, std::optional<std::string>>;
    std::map<std::string, Values> keys_;
    bool wow64_ = false;  // 64-bit: a 32-bit program's keys are under Wow6432Node

    const std::optional<std::string>* Find(std::string_view key, std::string_view value) const;

    friend class RegistryParser;
};

}  // namespace setup
