#include "codes/side_by_side.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace zm {
namespace {

TEST(SideBySide, EveryJobRunsOnceAndAFailureComesBack) {
    for (const std::size_t count : {0u, 1u, 2u, 3u, 100u}) {
        for (const bool second : {false, true}) {
            std::vector<std::atomic<int>> runs(count);
            forEachSideBySide(count, second, [&](std::size_t i) { ++runs[i]; });
            for (std::size_t i = 0; i < count; ++i)
                EXPECT_EQ(runs[i], 1) << "job " << i << " of " << count << (second ? " on two threads" : "");
        }
    }
    // A job that throws stops the handing out; what it threw reaches the caller after both
    // threads have stopped.
    std::atomic<int> after{0};
    EXPECT_THROW(forEachSideBySide(1000, true,
                                   [&](std::size_t i) {
                                       if (i == 3)
                                           throw std::runtime_error("job 3");
                                       if (i > 500)
                                           ++after;
                                       std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                   }),
                 std::runtime_error);
    EXPECT_EQ(after, 0);
}

}  // namespace
}  // namespace zm
