#include "kvl/Platform.h"

#include <glob.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "kvl/Text.h"

namespace kvl {

bool PathOK(std::string_view path) {
    if (path.empty()) return false;
    std::string pattern(path);
    if (pattern.find_first_of("*?") == std::string::npos) {
        struct stat info {};
        return lstat(pattern.c_str(), &info) == 0;
    }
    // Only * and ? are wildcards: a bracket in a folder name stands for itself.
    pattern = StrSubstitui(StrSubstitui(pattern, "[", "\\[", true), "]", "\\]", true);
    glob_t found{};
    // GLOB_PERIOD lets wildcards match hidden entries, as the attribute mask asks.
    int rc = glob(pattern.c_str(), GLOB_NOSORT | GLOB_PERIOD, nullptr, &found);
    bool any = rc == 0 && found.gl_pathc > 0;
    globfree(&found);
    return any;
}

std::string UtilizadorNome() {
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
    if (const char* user = std::getenv("USER")) return user;
    return "";
}

std::string ComputadorNome() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

}  // namespace kvl
