#pragma once

// Work split over two cores: a list of independent jobs run on the calling thread and, when the
// machine has a second core and the work is worth one more thread, on a second thread too.
// Jobs are handed out in the order of their numbers, each one once; the call returns when all
// are done. What a job throws is thrown again here, once both threads have stopped.
//
// A thread of its own (not Qt's pool) keeps every hand-over visible to the thread sanitizer.

#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>

namespace zm {

template <class Job>
void forEachSideBySide(std::size_t count, bool worthASecondThread, const Job& job) {
    std::atomic<std::size_t> next{0};
    const auto work = [&](std::exception_ptr& failure) {
        try {
            for (std::size_t i = next++; i < count; i = next++)
                job(i);
        } catch (...) {
            failure = std::current_exception();
            next = count;  // the other thread stops after its job
        }
    };
    std::exception_ptr here, there;
    if (worthASecondThread && count > 1 && std::thread::hardware_concurrency() > 1) {
        std::thread second([&] { work(there); });
        work(here);
        second.join();
    } else {
        work(here);
    }
    for (const std::exception_ptr& failure : {here, there})
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace zm
