#pragma once
// A deadline on one call into the office: a thread of its own that runs the
// expiry action (closing the connection) when the call has not come back in
// time, so a hung office cannot hang the program.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qv {

// Calls a function once a deadline passes, unless disarmed first.
class Watchdog {
public:
    explicit Watchdog(std::function<void()> onExpire)
        : onExpire_(std::move(onExpire)), thread_([this] { run(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void arm(std::chrono::seconds limit) {
        std::lock_guard lock(mutex_);
        deadline_ = std::chrono::steady_clock::now() + limit;
        armed_ = true;
        wake_.notify_all();
    }
    void disarm() {
        std::lock_guard lock(mutex_);
        armed_ = false;
    }
    bool expired() {
        std::lock_guard lock(mutex_);
        return expired_;
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (!armed_) {
                wake_.wait(lock);
            } else if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                       std::chrono::steady_clock::now() >= deadline_) {
                armed_ = false;
                expired_ = true;
                lock.unlock();
                onExpire_();
                lock.lock();
            }
        }
    }

    std::function<void()> onExpire_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::chrono::steady_clock::time_point deadline_;
    bool armed_ = false;
    bool expired_ = false;
    bool quit_ = false;
    std::thread thread_;  // last: starts once the rest is set up
};

}  // namespace qv
