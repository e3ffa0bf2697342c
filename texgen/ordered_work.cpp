#include "texgen/ordered_work.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace texgen {

namespace {

class OrderedWork {
public:
    OrderedWork(size_t count, size_t window, const ProduceJob& produce, const ConsumeJob& consume)
        : count_(count), window_(std::max<size_t>(window, 1)), produce_(produce), consume_(consume),
          results_(count), ready_(count, 0) {}

    // A helper thread: renders jobs until none are left or the work stopped.
    void help() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopped_ && next_ < count_) {
            if (!produce_next(lock)) changed_.wait(lock);
        }
    }

    // The calling thread: consumes results in order, and renders while the next one is not
    // ready. Returns whether every job was consumed.
    bool lead() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopped_ && consumed_ < count_) {
            if (ready_[consumed_]) {
                consume_next(lock);
            } else if (!produce_next(lock)) {
                changed_.wait(lock);
            }
        }
        const bool done = consumed_ == count_;
        stopped_ = true;
        changed_.notify_all();
        return done;
    }

private:
    // Takes and renders the next job when one is free within the window.
    bool produce_next(std::unique_lock<std::mutex>& lock) {
        if (stopped_ || next_ >= count_ || next_ >= consumed_ + window_) return false;
        const size_t job = next_++;
        lock.unlock();
        std::vector<uint8_t> out;
        bool ok = true;
        try {
            produce_(job, out);
        } catch (...) {
            ok = false;
        }
        lock.lock();
        if (ok) {
            results_[job] = std::move(out);
            ready_[job] = 1;
        } else {
            stopped_ = true;
        }
        changed_.notify_all();
        return true;
    }

    void consume_next(std::unique_lock<std::mutex>& lock) {
        const size_t job = consumed_;
        std::vector<uint8_t> out = std::move(results_[job]);
        lock.unlock();
        bool ok = false;
        try {
            ok = consume_(job, out);
        } catch (...) {
        }
        lock.lock();
        if (!ok) stopped_ = true;
        ++consumed_;
        changed_.notify_all();
    }

    const size_t count_;
    const size_t window_;
    const ProduceJob& produce_;
    const ConsumeJob& consume_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::vector<uint8_t>> results_;
    std::vector<char> ready_;
    size_t next_ = 0;      // the next job to render
    size_t consumed_ = 0;  // jobs consumed so far
    bool stopped_ = false;
};

}  // namespace

bool run_in_order(size_t count, unsigned workers, size_t window, const ProduceJob& produce,
                  const ConsumeJob& consume) {
    OrderedWork work(count, window, produce, consume);
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < workers && t < count; ++t) {
        try {
            helpers.emplace_back([&work] { work.help(); });
        } catch (const std::system_error&) {
            break;  // the threads already started and the calling thread do the work
        }
    }
    const bool done = work.lead();
    for (std::thread& helper : helpers) helper.join();
    return done;
}

}  // namespace texgen
