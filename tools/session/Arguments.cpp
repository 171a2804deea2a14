#include "Arguments.h"

#include <utility>

namespace kvlsession {

bool Arguments::Next() {
    if (i_ >= args_.size()) return false;
    const std::string& arg = args_[i_++];
    size_t eq = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    name_ = arg.substr(0, eq);
    inline_ = eq == std::string::npos ? std::nullopt : std::optional(arg.substr(eq + 1));
    return true;
}

std::string Arguments::Value() {
    if (inline_) return *std::exchange(inline_, std::nullopt);
    if (i_ >= args_.size()) throw UsageError(name_ + " needs a value");
    return args_[i_++];
}

bool Arguments::Flag(std::string_view name, std::string_view shortName) const {
    if (name_ != name && (shortName.empty() || name_ != shortName)) return false;
    if (inline_) throw UsageError(name_ + " takes no value");
    return true;
}

void Arguments::Unknown() const {
    throw UsageError("unknown argument \"" + name_ + "\"");
}

}  // namespace kvlsession
