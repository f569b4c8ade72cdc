// A folder search on a thread of its own: it owns a copy of the request, hands what it finds to
// the thread that started it, and stops when asked. Documents, settings and windows are never
// touched from it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "findfiles/FolderSearch.h"

namespace vexa::findfiles {

class FolderSearchWorker {
public:
    // Starts the search. `news`, when given, is called on the worker's thread whenever outcomes
    // arrive or the search ends: it may only post a wake-up to the starting thread.
    FolderSearchWorker(FolderSearchRequest request, std::function<void()> news = {});
    // Asks the search to stop and waits for the thread.
    ~FolderSearchWorker();
    FolderSearchWorker(const FolderSearchWorker&) = delete;
    FolderSearchWorker& operator=(const FolderSearchWorker&) = delete;

    // Asks the search to stop; it ends after the file it is reading.
    void stop();

    // The outcomes that arrived since the last call, in walk order.
    [[nodiscard]] std::vector<FileOutcome> takeOutcomes();
    // Whether the search has ended (all outcomes may not have been taken yet).
    [[nodiscard]] bool finished() const;
    // The totals, once finished.
    [[nodiscard]] SearchTotals totals() const;
    // Waits until outcomes arrive, the search ends, or the time passes.
    void waitForNews(std::chrono::milliseconds atMost);

private:
    void post(FileOutcome&& outcome);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<FileOutcome> m_arrived;
    SearchTotals m_totals;
    bool m_finished = false;
    std::function<void()> m_news;
    // Last, so that it is stopped and joined before the members it uses go.
    std::jthread m_thread;
};

} // namespace vexa::findfiles
