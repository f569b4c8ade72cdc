// The folder search on its worker thread: outcomes arrive in walk order, and a stop ends it early.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "findfiles/FolderSearchWorker.h"
#include "support/TempHome.h"

namespace vexa::findfiles {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 400;

class FolderSearchWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "f" +
                                     std::string(i < 10    ? "00"
                                                 : i < 100 ? "0"
                                                           : "") +
                                     std::to_string(i);
            test::writeFileBytes(home.path() / (name + ".txt"), "one\nneedle " + std::to_string(i) + "\n");
        }
        request.folder = home.path().string();
        request.findText = "needle";
    }

    // Takes outcomes until the worker has finished and everything is taken.
    static std::vector<FileOutcome> drain(FolderSearchWorker& worker) {
        std::vector<FileOutcome> all;
        for (;;) {
            const bool done = worker.finished();
            for (FileOutcome& outcome : worker.takeOutcomes()) {
                all.push_back(std::move(outcome));
            }
            if (done) {
                return all;
            }
            worker.waitForNews(std::chrono::milliseconds(50));
        }
    }

    test::TempHome home;
    FolderSearchRequest request;
};

TEST_F(FolderSearchWorkerTest, HandsOnEveryOutcomeInWalkOrder) {
    std::atomic<int> news{0};
    FolderSearchWorker worker(request, [&] { ++news; });
    const std::vector<FileOutcome> outcomes = drain(worker);
    ASSERT_EQ(outcomes.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        ASSERT_EQ(outcomes[static_cast<std::size_t>(i)].lines.size(), 1u);
        EXPECT_EQ(outcomes[static_cast<std::size_t>(i)].lines[0].text, "needle " + std::to_string(i));
        EXPECT_EQ(outcomes[static_cast<std::size_t>(i)].lines[0].line, 2);
    }
    const SearchTotals totals = worker.totals();
    EXPECT_EQ(totals.filesSearched, static_cast<std::size_t>(kFiles));
    EXPECT_EQ(totals.matchingLines, static_cast<std::size_t>(kFiles));
    EXPECT_FALSE(totals.stopped);
    EXPECT_GT(news.load(), 0);
}

TEST_F(FolderSearchWorkerTest, StopsAfterTheFilesItIsReading) {
    // One thread, so that no other thread searches on while the stop is asked.
    request.threads = 1;
    FolderSearchWorker* self = nullptr;
    std::atomic<bool> ready{false};
    // The first news stops the search, from the worker's own thread.
    FolderSearchWorker worker(request, [&] {
        while (!ready.load()) {
        }
        self->stop();
    });
    self = &worker;
    ready.store(true);
    const std::vector<FileOutcome> outcomes = drain(worker);
    EXPECT_TRUE(worker.totals().stopped);
    EXPECT_LT(outcomes.size(), static_cast<std::size_t>(kFiles));
}

} // namespace
} // namespace vexa::findfiles
