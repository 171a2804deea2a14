#include "LineEditor.h"

#include <editline/readline.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "Interrupts.h"
#include "UserFolders.h"

namespace kvlsql {

namespace {

constexpr int kHistoryLines = 1000;

// libedit hands each line to a plain function: this is where it lands.
struct TypedLine {
    bool done = false;
    std::optional<std::string> text;  // nothing: Ctrl-D on an empty line
};
TypedLine typed;

void OnLine(char* text) {
    typed.done = true;
    typed.text = text ? std::optional<std::string>(text) : std::nullopt;
    std::free(text);
}

bool Blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

std::filesystem::path HistoryFile() {
    return kvlsession::UserFolder("XDG_STATE_HOME", ".local/state") / "kvl2005" / "kvlsql_history";
}

LineEditor::LineEditor(std::filesystem::path history, Interrupts& interrupts)
    : history_(std::move(history)), interrupts_(interrupts) {
    rl_catch_signals = 0;  // Ctrl-C is kvlsql's (see Interrupts)
    rl_readline_name = "kvlsql";
    using_history();
    stifle_history(kHistoryLines);
    read_history(history_.c_str());
}

LineEditor::~LineEditor() {
    SaveHistory();
}

void LineEditor::SaveHistory() const {
    std::error_code failed;
    if (std::filesystem::create_directories(history_.parent_path(), failed))
        chmod(history_.parent_path().c_str(), 0700);
    // Made private before anything is written to it.
    int fd = open(history_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;  // a history that cannot be kept costs nothing else
    fchmod(fd, 0600);
    close(fd);
    write_history(history_.c_str());
}

LineSource::Read LineEditor::Next(std::string& line, const std::string& prompt) {
    interrupts_.Forget();  // a Ctrl-C before the prompt is no part of this line
    typed = {};
    rl_callback_handler_install(prompt.c_str(), OnLine);
    pollfd watched[] = {{STDIN_FILENO, POLLIN, 0}, {interrupts_.WakeDescriptor(), POLLIN, 0}};
    while (!typed.done) {
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (watched[1].revents & POLLIN) {
            interrupts_.Forget();
            rl_callback_handler_remove();
            std::cout << "^C\n" << std::flush;
            return Read::kInterrupted;
        }
        if (watched[0].revents & POLLIN) {
            rl_callback_read_char();
        } else if (watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            break;  // the terminal is gone
        }
    }
    // Back to the terminal's own line mode while the command runs; the next line starts
    // afresh.
    rl_callback_handler_remove();
    if (!typed.text) {
        std::cout << '\n' << std::flush;  // after Ctrl-D, as after a line
        return Read::kEnd;
    }
    line = *typed.text;
    if (!Blank(line)) add_history(line.c_str());
    return Read::kLine;
}

}  // namespace kvlsql
