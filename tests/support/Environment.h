#pragma once
// Environment variables set for the length of a test and put back after it.

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace kvltest {

class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) Put(name, value);
    }
    // Sets name to value; no value unsets it.
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) {
            const char* was = std::getenv(name.c_str());
            saved_[name] = was ? std::optional<std::string>(was) : std::nullopt;
        }
        Put(name, value);
    }

  private:
    static void Put(const std::string& name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace kvltest
