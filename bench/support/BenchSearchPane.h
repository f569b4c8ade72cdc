// A search pane without a window over a document: what the search benchmarks search through.
#pragma once

#include "core/Document.h"
#include "search/SearchState.h"

namespace vexa::bench {

class BenchSearchPane final : public SearchPane {
public:
    explicit BenchSearchPane(Document& document) : m_document(document) {}
    bool isAlive() const override { return true; }
    Document* document() override { return &m_document; }
    int topLine() const override { return m_top; }
    int firstColumn() const override { return m_first; }
    int visibleLines() const override { return 40; }
    int visibleColumns() const override { return 120; }
    void setView(int top, int first) override {
        m_top = top;
        m_first = first;
    }
    void refresh(bool) override {}

private:
    Document& m_document;
    int m_top = 0;
    int m_first = 0;
};

} // namespace vexa::bench
