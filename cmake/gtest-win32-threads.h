// Force-included into GoogleTest and the test programs of the Windows build only. GoogleTest
// wants std::mutex and std::condition_variable, which the win32 thread model of GCC 12's
// libstdc++ does not have; it uses them only for its own thread start-up notification. The
// shipped program never sees this header. No <windows.h> here: the program's sources must
// include their own platform header first.
#pragma once
#if defined(__cplusplus) && defined(_WIN32) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <atomic>
#include <mutex>

namespace std {

class mutex {
  public:
    mutex() = default;
    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;
    void lock() {
        while (held_.test_and_set(memory_order_acquire)) __builtin_ia32_pause();
    }
    bool try_lock() { return !held_.test_and_set(memory_order_acquire); }
    void unlock() { held_.clear(memory_order_release); }

  private:
    atomic_flag held_ = ATOMIC_FLAG_INIT;
};

// Waits only with a predicate, as GoogleTest does: give the lock up and look again.
class condition_variable {
  public:
    void notify_one() {}
    void notify_all() {}
    template <class Predicate>
    void wait(unique_lock<mutex>& lock, Predicate ready) {
        while (!ready()) {
            lock.unlock();
            __builtin_ia32_pause();
            lock.lock();
        }
    }
};

}  // namespace std
#endif
