#pragma once
// What both installers' command lines share: the options every program on the Windows host
// layer understands (--drive-c, --unattended, --log, --version, --help), their help text, and
// bad usage.

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace winhost {

// A command line or environment the program does not understand: it ends with exit status 2.
class UsageError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

struct HostOptions {
    std::optional<std::filesystem::path> driveC;
    std::optional<std::filesystem::path> log;
    bool unattended = false;
    bool help = false;
    bool version = false;
};

// The suite's version, as --version prints it after the program's name.
std::string_view Version();

// The arguments after the program's name, one option at a time.
class ArgumentReader {
  public:
    explicit ArgumentReader(std::vector<std::string> arguments)
        : arguments_(std::move(arguments)) {}

    // The next option, or nothing after the last.
    std::optional<std::string> Next();
    // The value that follows the option just read; UsageError when it is missing or empty.
    std::string Value();

  private:
    std::vector<std::string> arguments_;
    size_t next_ = 0;
};

// Takes option into host when it is one of the shared options (reading its value from reader);
// false when it is none of them.
bool ReadHostOption(const std::string& option, ArgumentReader& reader, HostOptions& host);

// The help lines of the shared options, the exit status, and the scripted answers of the
// program's message boxes (see ScriptedAnswers.h).
std::string HostUsage(std::string_view program);

// Opens the log of --log (see RunLog.h) and records the command line in it.
void StartLog(const HostOptions& host, std::string_view program,
              const std::vector<std::string>& arguments);

// The frame of both programs' main(): parse reads the arguments after the program's name into
// options with a HostOptions member `host`; --help prints usage, --version the version;
// otherwise the log is started and run(options) gives the exit status. Bad usage anywhere ends
// with its message, the usage and exit status 2; any other failure that reaches this far with
// its message and exit status 1.
template <class Parse, class Run>
int ProgramMain(std::string_view program, int argc, char** argv, Parse parse,
                const std::string& usage, Run run) {
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const auto options = parse(arguments);
        if (options.host.help) {
            std::cout << usage;
            return 0;
        }
        if (options.host.version) {
            std::cout << program << " " << Version() << "\n";
            return 0;
        }
        StartLog(options.host, program, arguments);
        return run(options);
    } catch (const UsageError& error) {
        std::cerr << program << ": " << error.what() << "\n\n" << usage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << program << ": " << error.what() << "\n";
        return 1;
    }
}

}  // namespace winhost
