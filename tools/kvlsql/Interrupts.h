#pragma once
// Ctrl-C. The SIGINT handler only writes a byte to a pipe; a thread of kvlsql's own wakes
// on it, stops the command running on the session (see kvlSERV::Cancela) and notes the
// interrupt for the main thread, which looks at it between rows and commands, and wakes
// the line editor through a descriptor of its own.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kvlsql {

class Interrupts {
  public:
    // Catches SIGINT from now on, for as long as the object lives (one at a time); each
    // Ctrl-C runs `stop` on the watching thread.
    explicit Interrupts(std::function<void()> stop);
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;

    // Whether Ctrl-C came since the last Take.
    bool Pending() const { return pending_; }
    bool Take() { return pending_.exchange(false); }
    // Readable after each Ctrl-C, until Forget; for a poll that waits for input too.
    int WakeDescriptor() const { return wake_[0]; }
    // Forgets every Ctrl-C so far.
    void Forget();

  private:
    void Watch();

    std::function<void()> stop_;
    int signals_[2] = {-1, -1};  // written by the handler
    int wake_[2] = {-1, -1};     // written by the watching thread
    std::atomic<bool> pending_ = false;
    std::thread watcher_;
};

}  // namespace kvlsql
