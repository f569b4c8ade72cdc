// A pane for the search tests: a document, a view that records how it was moved, and a switch
// that makes the pane disappear.
#pragma once

#include <string>
#include <vector>

#include "core/Document.h"
#include "core/Messenger.h"
#include "search/SearchState.h"

namespace vexa::test {

class SearchPaneFake final : public SearchPane {
public:
    explicit SearchPaneFake(Document& document) : m_document(document) {}

    bool isAlive() const override { return alive; }
    Document* document() override { return &m_document; }
    int topLine() const override { return top; }
    int firstColumn() const override { return first; }
    int visibleLines() const override { return lines; }
    int visibleColumns() const override { return columns; }
    void setView(int newTop, int newFirst) override {
        top = newTop;
        first = newFirst;
        ++viewChanges;
    }
    void refresh(bool scroll) override {
        ++refreshes;
        lastScroll = scroll;
    }

    bool alive = true;
    int top = 0;
    int first = 0;
    int lines = 20;
    int columns = 80;
    int viewChanges = 0;
    int refreshes = 0;
    bool lastScroll = false;

private:
    Document& m_document;
};

// Keeps the status messages shown, with their sounds.
class StatusRecorder final : public Messenger {
public:
    struct Status {
        std::string text;
        platform::SoundKind sound;
        friend bool operator==(const Status&, const Status&) = default;
    };

    void status(std::string_view text, platform::SoundKind sound, Hold = Hold::No) override {
        statuses.push_back({std::string(text), sound});
    }
    void messageBox(std::string_view, std::string_view) override { ++boxes; }
    Answer ask(std::string_view, std::string_view, Question) override { return Answer::No; }
    void beginBusy() override {}
    void endBusy() override {}

    std::vector<Status> statuses;
    int boxes = 0;
};

// Fills a document as loading does.
inline void setDocumentLines(Document& document, const std::vector<std::string>& lines) {
    document.clearForLoad(0);
    for (const auto& line : lines) {
        document.appendLoadedLine(line);
    }
}

inline std::vector<std::string> documentLines(const Document& document) {
    std::vector<std::string> lines;
    for (int i = 0; i < document.lineCount(); ++i) {
        lines.emplace_back(document.lineText(i));
    }
    return lines;
}

} // namespace vexa::test
