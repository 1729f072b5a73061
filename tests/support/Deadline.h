// A guard for work that must never block, such as opening a FIFO or a device
// where a data file is expected: the work runs on a thread of its own and the
// test waits for it a limited time, so a regression fails instead of hanging.
//
//   const std::optional<QString> outcome = endsWithin(1s, [path] { … return what happened; },
//                                                     [path] { wakeFifo(path); });
//   QVERIFY2(outcome, "blocked");
#pragma once

#include <QFile>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

// Runs `work` and returns what it returned, or nothing when it did not end
// within `limit`. A late work is then nudged with `wake` and given another
// `limit`; one that still does not end is left behind. Capture by value: a
// work left behind may outlive the caller's variables.
inline std::optional<QString> endsWithin(std::chrono::milliseconds limit,
                                         std::function<QString()> work,
                                         std::function<void()> wake = {}) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<QString> outcome;
    };
    auto state = std::make_shared<State>();
    std::thread worker([state, work = std::move(work)] {
        QString outcome = work();
        std::lock_guard lock(state->mutex);
        state->outcome = std::move(outcome);
        state->done.notify_all();
    });
    std::unique_lock lock(state->mutex);
    const bool inTime =
        state->done.wait_for(lock, limit, [&] { return state->outcome.has_value(); });
    if (!inTime && wake) {
        lock.unlock();
        wake();
        lock.lock();
        state->done.wait_for(lock, limit, [&] { return state->outcome.has_value(); });
    }
    const bool ended = state->outcome.has_value();
    lock.unlock();
    if (ended)
        worker.join();
    else
        worker.detach();
    if (!inTime)
        return std::nullopt;
    return state->outcome;
}

// The same guard for window work, which must run on the test's own thread:
// the work runs where it is and a watcher waits beside it. When the guard is
// still armed after `limit`, the watcher calls `wake` and remembers that it
// had to (fired() is then true); when it is still armed after another
// `limit`, the test program ends at once, so a window that blocks fails the
// run instead of hanging it.
//
//   Watchdog guard(10s, [path] { wakeFifo(path); });
//   … drive the windows …
//   guard.disarm();
//   QVERIFY2(!guard.fired(), "a window blocked");
class Watchdog {
  public:
    // Under AddressSanitizer everything runs several times slower; a window
    // that blocks still blocks for ever, so a longer limit loses nothing.
#if defined(__SANITIZE_ADDRESS__)
    static constexpr int kSlowdown = 10;
#else
    static constexpr int kSlowdown = 1;
#endif

    explicit Watchdog(std::chrono::milliseconds limit, std::function<void()> wake = {})
        : m_state(std::make_shared<State>()) {
        limit *= kSlowdown;
        m_watcher = std::thread([state = m_state, limit, wake = std::move(wake)] {
            std::unique_lock lock(state->mutex);
            if (state->done.wait_for(lock, limit, [&] { return !state->armed; }))
                return;
            state->fired = true;
            lock.unlock();
            if (wake)
                wake();
            lock.lock();
            if (state->done.wait_for(lock, limit, [&] { return !state->armed; }))
                return;
            std::fprintf(stderr, "FAIL: the windows blocked and did not end\n");
            std::fflush(stderr);
            std::_Exit(3);
        });
    }
    ~Watchdog() { disarm(); }
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    void disarm() {
        {
            std::lock_guard lock(m_state->mutex);
            m_state->armed = false;
        }
        m_state->done.notify_all();
        if (m_watcher.joinable())
            m_watcher.join();
    }
    bool fired() const {
        std::lock_guard lock(m_state->mutex);
        return m_state->fired;
    }

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool armed = true;
        bool fired = false;
    };
    std::shared_ptr<State> m_state;
    std::thread m_watcher;
};

// Releases whoever waits on the FIFO at `path`: opens it at both ends, leaves
// a few bytes in it and closes it again.
inline void wakeFifo(const QString &path) {
    std::signal(SIGPIPE, SIG_IGN);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(fd, "[x]\n", 4);
        ::close(fd);
    }
}
