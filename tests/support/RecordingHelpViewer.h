// A help viewer for tests: records what it was asked to show and answers as scripted.
#pragma once

#include <string>
#include <vector>

#include "platform/HelpViewer.h"

namespace vexa::test {

class RecordingHelpViewer final : public platform::HelpViewer {
public:
    struct Request {
        std::string helpFile;
        std::string keyword;
        friend bool operator==(const Request&, const Request&) = default;
    };

    [[nodiscard]] bool showKeyword(const std::string& helpFile, const std::string& keyword) override {
        m_requests.push_back({helpFile, keyword});
        return m_starts;
    }

    // Whether later requests succeed (a missing viewer program fails them).
    void setStarts(bool starts) { m_starts = starts; }
    const std::vector<Request>& requests() const { return m_requests; }

private:
    std::vector<Request> m_requests;
    bool m_starts = true;
};

} // namespace vexa::test
