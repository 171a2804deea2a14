#include "UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace kvlsession {

namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    if (!pw) throw std::runtime_error("cannot tell the user's home folder");
    return pw->pw_dir;
}

}  // namespace

std::filesystem::path UserFolder(const char* variable, const std::filesystem::path& underHome) {
    const char* value = std::getenv(variable);
    // Relative values are to be ignored, as the convention says.
    if (value && std::filesystem::path(value).is_absolute()) return value;
    return HomeFolder() / underHome;
}

}  // namespace kvlsession
