#include "OutputTarget.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kvlsql {

void OutputTarget::ToFile(const std::string& path) {
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    file_ = std::move(file);
}

}  // namespace kvlsql
