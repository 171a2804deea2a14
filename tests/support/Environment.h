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
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    // Sets name to value; no value unsets it.
    void Set(const std::string& name, std::optional<std::string> value) {
        if (!saved_.count(name)) {
            const char* was = std::getenv(name.c_str());
            saved_[name] = was ? std::optional<std::string>(was) : std::nullopt;
        }
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace kvltest
