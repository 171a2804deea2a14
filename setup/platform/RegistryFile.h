#pragma once
// Registry values read from a file in the text format of a registry export
// ("Windows Registry Editor Version 5.00" or "REGEDIT4", UTF-16LE with a byte-order
// mark or 8-bit) or of a Wine prefix's system.reg ("WINE REGISTRY Version 2", UTF-8,
// keys relative to HKEY_LOCAL_MACHINE).

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// Reading a key or value that does not exist, as the Windows registry reports it.
inline constexpr int32_t kRegistryKeyNotFound = -2147024894;
// A registry file that is in none of the known formats.
inline constexpr int32_t kRegistryFileInvalid = -2147024883;

class RegistryFile {
  public:
    // The file's keys and values. A missing file is an empty registry, as on a
    // machine where nothing was installed; a file of another format is an error.
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

    friend class RegistryParser;
};

}  // namespace setup
