#include "ConnectionOptions.h"

#include <charconv>
#include <limits>

namespace kvlsession {

namespace {

using TextOption = std::optional<std::string> ConnectionOptions::*;

struct TextOptionName {
    const char* name;
    TextOption member;
};

constexpr TextOptionName kTextOptions[] = {
    {"--dsn", &ConnectionOptions::dsn},         {"--driver", &ConnectionOptions::driver},
    {"--server", &ConnectionOptions::server},   {"--db", &ConnectionOptions::db},
    {"--uid", &ConnectionOptions::uid},         {"--pwd", &ConnectionOptions::pwd},
    {"--connect", &ConnectionOptions::connect},
};

int16_t StackSize(const std::string& text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > std::numeric_limits<int16_t>::max())
        throw UsageError("--stack needs a whole number from 1 to 32767, not \"" + text + "\"");
    return static_cast<int16_t>(value);
}

}  // namespace

bool ConnectionOptions::UsesDefaultDatabase() const {
    return !dsn && !driver && !server && !db && !uid && !pwd && !connect;
}

bool ParseConnectionOption(Arguments& a, ConnectionOptions& o) {
    for (const TextOptionName& t : kTextOptions) {
        if (a.Name() != t.name) continue;
        o.*t.member = a.Value();
        return true;
    }
    if (a.Name() != "--stack") return false;
    o.stack = StackSize(a.Value());
    return true;
}

}  // namespace kvlsession
