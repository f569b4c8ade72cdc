// An instance link for tests: another editor is present or not as the test says, posts are
// recorded, and arriving messages are queued by the test.
#pragma once

#include <utility>
#include <vector>

#include "platform/InstanceLink.h"

namespace vexa::test {

class FakeInstanceLink final : public platform::InstanceLink {
public:
    // Pretend another editor holds the marker (and so receives posts).
    void setOtherEditorRunning(bool running) { m_otherRunning = running; }
    // Make posts fail although an editor runs, as a full or broken channel does.
    void setPostsFail(bool fail) { m_postsFail = fail; }
    void arrive(platform::LinkMessage message) { m_incoming.push_back(std::move(message)); }

    [[nodiscard]] bool isMarkerPresent() override { return m_holding || m_otherRunning; }
    [[nodiscard]] bool addMarker() override {
        if (m_otherRunning) {
            return false;
        }
        m_holding = true;
        return true;
    }
    void deleteMarker() override {
        if (m_holding) {
            ++m_deletions;
        }
        m_holding = false;
    }
    [[nodiscard]] platform::KeyStore& record() override { return m_record; }
    [[nodiscard]] bool postFileOpen() override { return post({platform::LinkMessageKind::FileOpen, {}}); }
    [[nodiscard]] bool postCommand(std::string_view command) override {
        return post({platform::LinkMessageKind::Command, std::string(command)});
    }
    [[nodiscard]] bool postOpenFiles(std::string_view list) override {
        return post({platform::LinkMessageKind::OpenFiles, std::string(list)});
    }
    [[nodiscard]] std::vector<platform::LinkMessage> receive() override {
        if (!m_holding) {
            return {};
        }
        return std::exchange(m_incoming, {});
    }

    // What was posted to the other editor, delivered or not.
    const std::vector<platform::LinkMessage>& posted() const { return m_posted; }
    bool holdsMarker() const { return m_holding; }
    int deletions() const { return m_deletions; }
    // The record store, to script a failing registry (setWritable(false)).
    platform::MemoryKeyStore& memoryRecord() { return m_record; }

private:
    bool post(platform::LinkMessage message) {
        m_posted.push_back(std::move(message));
        return m_otherRunning && !m_postsFail;
    }

    platform::MemoryKeyStore m_record;
    std::vector<platform::LinkMessage> m_posted;
    std::vector<platform::LinkMessage> m_incoming;
    bool m_otherRunning = false;
    bool m_postsFail = false;
    bool m_holding = false;
    int m_deletions = 0;
};

} // namespace vexa::test
