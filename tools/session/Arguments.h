#pragma once
// Walking a command line option by option: a value is the next argument or follows "="
// (--db=x). The programs that take the connection options read the rest of their command
// line with it too, so every option behaves alike.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kvlsession {

// A command line that cannot be understood; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Arguments {
  public:
    explicit Arguments(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false past the last.
    bool Next();
    // The current argument, up to the "=" of an option given its value inline.
    const std::string& Name() const { return name_; }
    // The current option's value. Throws UsageError when there is none.
    std::string Value();
    // Whether the current argument is the flag of this name (or of the short one); a flag
    // given a value (--log=x) is a mistake worth telling, so that throws UsageError.
    bool Flag(std::string_view name, std::string_view shortName = {}) const;
    // Throws UsageError for the current argument, which nothing took.
    [[noreturn]] void Unknown() const;

  private:
    const std::vector<std::string>& args_;
    size_t i_ = 0;
    std::string name_;
    std::optional<std::string> inline_;
};

}  // namespace kvlsession
