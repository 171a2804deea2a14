#pragma once
// The automation class registry: which command line serves each class name. A text file of
// lines "ClassName=command line" (UTF-8, with or without a byte-order mark); blank lines and
// lines starting with "#" or ";" are skipped.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace zovlt {

class ClassRegistry {
  public:
    ClassRegistry() = default;
    // Throws std::runtime_error when the file cannot be read.
    static ClassRegistry Load(const std::filesystem::path& file);

    std::optional<std::string> CommandFor(const std::string& className) const;

  private:
    std::map<std::string, std::string> commands_;
};

}  // namespace zovlt
