#include "Password.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "Session.h"

namespace kvlsql {

namespace {

// The terminal's settings while echo is off, put back should Ctrl-C end the program.
int echoTerminal = -1;
termios echoSettings;

void RestoreEchoAndDie(int signal) {
    tcsetattr(echoTerminal, TCSAFLUSH, &echoSettings);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// A line of the terminal, typed without echo.
std::optional<std::string> ReadHidden(int tty, const std::string& prompt) {
    termios hidden;
    if (tcgetattr(tty, &echoSettings) != 0) return std::nullopt;
    hidden = echoSettings;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    echoTerminal = tty;
    auto previous = std::signal(SIGINT, RestoreEchoAndDie);
    // Echo goes off before the prompt shows, so nothing typed after it is ever shown.
    tcsetattr(tty, TCSADRAIN, &hidden);
    if (write(tty, prompt.data(), prompt.size()) < 0) {
        // The prompt is a courtesy: the line is read all the same.
    }
    std::string line;
    char c = 0;
    bool ended = false;
    while (!ended && read(tty, &c, 1) == 1) {
        ended = c == '\n';
        if (!ended) line += c;
    }
    tcsetattr(tty, TCSADRAIN, &echoSettings);
    std::signal(SIGINT, previous);
    if (write(tty, "\n", 1) < 0 || !ended) return std::nullopt;
    return line;
}

bool GivenInText(const std::string& connect) {
    std::string upper;
    for (char c : connect) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("PWD=") != std::string::npos || upper.find("PASSWORD=") != std::string::npos;
}

// Whether the login has a password from anywhere: the options, --connect's text, or the
// environment (PostgreSQL's driver reads PGPASSWORD).
bool PasswordGiven(const kvlsession::ConnectionOptions& o) {
    return o.pwd || (o.connect && GivenInText(*o.connect)) || std::getenv("PGPASSWORD");
}

// A value of a connection text, in braces where it needs them.
std::string ConnectionValue(const std::string& value) {
    bool plain = value.find_first_of(";{}=") == std::string::npos &&
                 (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return value;
    std::string braced = "{";
    for (char c : value) braced += c == '}' ? std::string("}}") : std::string(1, c);
    return braced + "}";
}

bool RefusedForPassword(const std::string& reason) {
    std::string lower;
    for (char c : reason) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("password") != std::string::npos;
}

std::string PasswordPrompt(const kvlsession::ConnectionOptions& o) {
    return o.uid ? "Password for " + *o.uid + ": " : "Password: ";
}

}  // namespace

std::optional<std::string> AskPassword(const std::string& prompt, bool terminalOnly) {
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty >= 0) {
        std::optional<std::string> password = ReadHidden(tty, prompt);
        close(tty);
        return password;
    }
    std::string line;
    if (terminalOnly || !std::getline(std::cin, line)) return std::nullopt;
    return line;
}

void UsePassword(kvlsession::ConnectionOptions& o, const std::string& password) {
    if (o.connect) {
        *o.connect += ";PWD=" + ConnectionValue(password);
    } else {
        o.pwd = password;
    }
}

std::shared_ptr<kvl::kvlSERV> Login(kvlsession::ConnectionOptions o, bool askFirst,
                                    std::ostream& err,
                                    const std::function<void(kvl::kvlSERV&)>& prepare) {
    if (askFirst) {
        std::optional<std::string> password = AskPassword(PasswordPrompt(o), false);
        if (!password) {
            err << "kvlsql: -W: no password could be read\n";
            return nullptr;
        }
        UsePassword(o, *password);
    } else if (const char* password = std::getenv("KVLSQL_PASSWORD");
               password && !PasswordGiven(o)) {
        UsePassword(o, password);
    }
    bool mayAsk = !PasswordGiven(o);
    std::ostringstream refusal;
    auto s = kvlsession::OpenSession(o, "kvlsql", mayAsk ? refusal : err, kvl::odbc::UnixOdbc(),
                                     prepare);
    if (s || !mayAsk) {
        err << refusal.str();  // what the opening said besides, if anything
        return s;
    }
    std::optional<std::string> password;
    if (RefusedForPassword(refusal.str())) password = AskPassword(PasswordPrompt(o), true);
    if (!password) {
        err << refusal.str();
        return nullptr;
    }
    UsePassword(o, *password);
    return kvlsession::OpenSession(o, "kvlsql", err, kvl::odbc::UnixOdbc(), prepare);
}

}  // namespace kvlsql
