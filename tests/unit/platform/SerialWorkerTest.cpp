#include "platform/SerialWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(SerialWorkerTest, RunsTasksInOrderOffTheCallersThreadAndSurvivesOneThatThrows) {
    std::vector<int> order;
    std::thread::id ranOn;
    hc::SerialWorker worker;
    worker.Post([&] { ranOn = std::this_thread::get_id(); });
    worker.Post([] { throw std::runtime_error("refused"); });
    for (int i = 0; i < 50; ++i) worker.Post([&order, i] { order.push_back(i); });
    worker.Drain();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(SerialWorkerTest, TheDestructorRunsWhatIsStillQueued) {
    std::atomic<int> ran{0};
    {
        hc::SerialWorker worker;
        worker.Post([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ++ran;
        });
        worker.Post([&] { ++ran; });
    }
    EXPECT_EQ(ran, 2);
}

}  // namespace
