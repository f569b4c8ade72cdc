// Large files loading in slices from the top-level event loop.
#include "session/DocumentLoads.h"

#include <algorithm>

#include "commands/EditPane.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/FileLoad.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "settings/Format.h"

namespace vexa {

DocumentLoads::DocumentLoads(Services services, std::function<void()> tick)
    : m_services(services), m_tick(std::move(tick)) {}

DocumentLoads::~DocumentLoads() {
    if (m_timer) {
        m_services.frame.stopTimer(*m_timer);
    }
}

bool DocumentLoads::inSlices(uint64_t fileSize) const {
    return m_enabled && fileSize > std::max<uint64_t>(m_wholeLoadLimit, kFirstBlocks * FileLoad::kBlockSize);
}

void DocumentLoads::add(EditPane& pane, std::unique_ptr<FileLoad> load, bool keepReadOnly) {
    auto entry = std::make_unique<Load>();
    entry->pane = &pane;
    entry->file = std::move(load);
    entry->keepReadOnly = keepReadOnly;
    m_loads.push_back(std::move(entry));
    Load& added = *m_loads.back();
    if (added.file->state() != FileLoad::State::Reading) {
        end(added);
    } else {
        showProgress(added);
    }
    updateTimer();
}

DocumentLoads::Load* DocumentLoads::find(const Document& document) {
    for (const auto& load : m_loads) {
        if (&load->pane->document() == &document) {
            return load.get();
        }
    }
    return nullptr;
}

bool DocumentLoads::isLoading(const Document& document) const {
    return std::any_of(m_loads.begin(), m_loads.end(), [&document](const auto& load) {
        return !load->ended && &load->pane->document() == &document;
    });
}

bool DocumentLoads::step(Load& load) {
    if (load.ended) {
        return false;
    }
    if (load.file->step()) {
        return true;
    }
    end(load);
    return false;
}

void DocumentLoads::end(Load& load) {
    load.ended = true;
    Document& document = load.pane->document();
    if (load.file->complete()) {
        if (load.keepReadOnly) {
            document.setReadOnly(true);
        }
        if (load.pane == m_active) {
            m_services.frame.status({}, platform::SoundKind::None); // the progress ends with the load
        }
    }
    load.pane->updateExtent();
    load.pane->repaintChanged();
}

void DocumentLoads::showProgress(Load& load) {
    load.pane->updateExtent();
    load.pane->repaintChanged();
    const int percent = load.file->percent();
    if (load.pane == m_active && percent != load.shownPercent) {
        load.shownPercent = percent;
        m_services.frame.status(formatText(file_messages::kLoadingPercent, percent),
                                platform::SoundKind::None);
    }
}

std::vector<DocumentLoads::Ended> DocumentLoads::slice() {
    for (const auto& load : m_loads) {
        const uint64_t start = m_services.clock.tickCount();
        for (int block = 0; block < kSliceBlocks && step(*load); ++block) {
            if (m_services.clock.tickCount() - start >= kSliceMs) {
                break;
            }
        }
        if (!load->ended) {
            showProgress(*load);
        }
    }
    std::vector<Ended> ended;
    for (auto it = m_loads.begin(); it != m_loads.end();) {
        if ((*it)->ended) {
            ended.push_back(Ended{(*it)->pane, (*it)->file->complete()});
            it = m_loads.erase(it);
        } else {
            ++it;
        }
    }
    updateTimer();
    return ended;
}

bool DocumentLoads::waitForLines(Document& document, int lines) {
    Load* load = find(document);
    if (load == nullptr || load->ended) {
        return document.lineCount() > lines;
    }
    BusyCursor busy(m_services.frame);
    uint64_t lastPoll = 0;
    bool first = true;
    while (document.lineCount() <= lines && step(*load)) {
        const uint64_t now = m_services.clock.tickCount();
        if (!first && now - lastPoll < kWaitPollMs) {
            continue;
        }
        first = false;
        lastPoll = now;
        showProgress(*load);
        // The key state handles the pending events (painting) without letting input through.
        if (m_services.keys != nullptr && m_services.keys->wasPressed(platform::kKeyEscape)) {
            stop(*load);
            break;
        }
    }
    load->pane->updateExtent();
    return document.lineCount() > lines;
}

void DocumentLoads::stop(Load& load) {
    if (load.ended) {
        return;
    }
    load.file->stop();
    end(load);
}

void DocumentLoads::forget(const EditPane& pane) {
    std::erase_if(m_loads, [&pane](const auto& load) { return load->pane == &pane; });
    if (m_active == &pane) {
        m_active = nullptr;
    }
    updateTimer();
}

bool DocumentLoads::hasForegroundWork() {
    return std::any_of(m_loads.begin(), m_loads.end(), [](const auto& load) { return !load->ended; });
}

bool DocumentLoads::stopForegroundWork() {
    Load* chosen = nullptr;
    for (const auto& load : m_loads) {
        if (!load->ended && (chosen == nullptr || load->pane == m_active || chosen->pane != m_active)) {
            chosen = load.get();
        }
    }
    if (chosen == nullptr) {
        return false;
    }
    stop(*chosen);
    return true;
}

void DocumentLoads::updateTimer() {
    if (m_loads.empty()) {
        if (m_timer) {
            m_services.frame.stopTimer(*m_timer);
            m_timer.reset();
        }
    } else if (!m_timer) {
        m_timer = m_services.frame.startTimer(0, [this] { m_tick(); });
    }
}

} // namespace vexa
