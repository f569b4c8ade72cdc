// The folder search's worker thread.
#include "findfiles/FolderSearchWorker.h"

#include <utility>

namespace vexa::findfiles {

FolderSearchWorker::FolderSearchWorker(FolderSearchRequest request, std::function<void()> news)
    : m_news(std::move(news)) {
    m_thread = std::jthread([this, request = std::move(request)](std::stop_token stop) mutable {
        FolderSearch search(std::move(request));
        const SearchTotals totals =
            search.run(stop, [this](FileOutcome&& outcome) { post(std::move(outcome)); });
        {
            const std::lock_guard lock(m_mutex);
            m_totals = totals;
            m_finished = true;
        }
        m_changed.notify_all();
        if (m_news) {
            m_news();
        }
    });
}

FolderSearchWorker::~FolderSearchWorker() {
    stop();
}

void FolderSearchWorker::stop() {
    m_thread.request_stop();
}

void FolderSearchWorker::post(FileOutcome&& outcome) {
    // Files without a match only count; they are posted too so that progress can show them.
    bool first = false;
    {
        const std::lock_guard lock(m_mutex);
        first = m_arrived.empty();
        m_arrived.push_back(std::move(outcome));
    }
    if (first) {
        m_changed.notify_all();
        if (m_news) {
            m_news();
        }
    }
}

std::vector<FileOutcome> FolderSearchWorker::takeOutcomes() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_arrived, {});
}

bool FolderSearchWorker::finished() const {
    const std::lock_guard lock(m_mutex);
    return m_finished;
}

SearchTotals FolderSearchWorker::totals() const {
    const std::lock_guard lock(m_mutex);
    return m_totals;
}

void FolderSearchWorker::waitForNews(std::chrono::milliseconds atMost) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, atMost, [this] { return m_finished || !m_arrived.empty(); });
}

} // namespace vexa::findfiles
