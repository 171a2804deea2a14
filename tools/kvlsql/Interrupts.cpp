#include "Interrupts.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

namespace kvlsql {

namespace {

constexpr char kInterrupt = 'i';
constexpr char kStop = 's';
constexpr int kRetryMilliseconds = 100;

// The handler's end of the pipe; only async-signal-safe calls touch it.
volatile sig_atomic_t handlerPipe = -1;

void OnSigint(int) {
    int saved = errno;
    char byte = kInterrupt;
    if (handlerPipe >= 0 && write(handlerPipe, &byte, 1) < 0) {
        // A full pipe holds an interrupt already.
    }
    errno = saved;
}

void OpenPipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    fcntl(ends[1], F_SETFL, O_NONBLOCK);  // a full pipe drops the byte, never blocks
}

void Drain(int fd) {
    char bytes[64];
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    while (read(fd, bytes, sizeof bytes) > 0) {
    }
    fcntl(fd, F_SETFL, flags);
}

}  // namespace

Interrupts::Interrupts(std::function<void()> stop) : stop_(std::move(stop)) {
    OpenPipe(signals_);
    OpenPipe(wake_);
    handlerPipe = signals_[1];
    // The watcher never takes the signal itself, so it interrupts a read of the main thread.
    sigset_t interrupt, was;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &was);
    watcher_ = std::thread([this] { Watch(); });
    pthread_sigmask(SIG_SETMASK, &was, nullptr);
    struct sigaction action {};
    action.sa_handler = OnSigint;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for input returns, so nothing blocks past a Ctrl-C.
    sigaction(SIGINT, &action, nullptr);
}

Interrupts::~Interrupts() {
    signal(SIGINT, SIG_DFL);
    handlerPipe = -1;
    char byte = kStop;
    while (write(signals_[1], &byte, 1) < 0 && errno == EAGAIN) Drain(signals_[0]);
    watcher_.join();
    for (int fd : {signals_[0], signals_[1], wake_[0], wake_[1]}) close(fd);
}

void Interrupts::Watch() {
    while (true) {
        // A Ctrl-C that came just before a command started found nothing to stop: until the
        // main thread takes it, the stop is tried again now and then.
        pollfd signals{signals_[0], POLLIN, 0};
        int ready = poll(&signals, 1, pending_ ? kRetryMilliseconds : -1);
        if (ready <= 0) {
            if (ready == 0 && pending_ && stop_) stop_();
            continue;
        }
        char byte = 0;
        ssize_t n = read(signals_[0], &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || byte == kStop) return;
        pending_ = true;
        if (stop_) stop_();
        char wake = kInterrupt;
        if (write(wake_[1], &wake, 1) < 0) {
            // A full pipe wakes the editor already.
        }
    }
}

void Interrupts::Forget() {
    Drain(wake_[0]);
    pending_ = false;
}

}  // namespace kvlsql
