// Fuzzing the comment scan of lines: for arbitrary markers and bytes, the line's scan, which jumps
// between the bytes that can begin a marker, agrees with a plain walk testing every byte, and a
// document loaded with those markers holds that state for every line.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/DocLine.h"
#include "core/Document.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

struct PlainScan {
    int depth = 0;
    int opens = 0;
    int closes = 0;
};

bool plainMatch(std::string_view line, std::size_t at, std::string_view marker) {
    return !marker.empty() && line.substr(at, marker.size()) == marker;
}

PlainScan plainScan(std::string_view line, int startDepth, std::string_view open, std::string_view close) {
    PlainScan scan{startDepth, 0, 0};
    std::size_t i = 0;
    while (i < line.size()) {
        if (plainMatch(line, i, open)) {
            scan.depth = std::min(scan.depth + 1, 65535);
            ++scan.opens;
            i += open.size();
        } else if (plainMatch(line, i, close)) {
            scan.depth = 0;
            ++scan.closes;
            i += close.size();
        } else {
            ++i;
        }
    }
    return scan;
}

class Rules final : public vexa::LanguageRules {
public:
    Rules(std::string open, std::string close) : m_open(std::move(open)), m_close(std::move(close)) {}
    vexa::CommentMarkers commentMarkers() const override { return {m_open, m_close}; }

private:
    std::string m_open;
    std::string m_close;
};

} // namespace

// The first byte gives the lengths of the markers (0 to 2 each), the next four their bytes; the
// rest is text, one line per LF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const char*>(data);
    const std::string open(bytes + 1, data[0] % 3);
    const std::string close(bytes + 3, (data[0] / 3) % 3);
    const std::string_view text(bytes + 5, size - 5);

    vexa::Document document;
    document.setLanguageRules(std::make_shared<Rules>(open, close));
    document.clearForLoad(text.size());
    int depth = 0;
    const vexa::CommentMarkers markers{open, close};
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        const PlainScan plain = plainScan(line, depth, open, close);
        vexa::DocLine scanned(line);
        check(scanned.endDepth(depth, markers) == plain.depth);
        check(scanned.scanComments(depth, markers) == plain.depth);
        check(scanned.openCount() == std::min(plain.opens, 63));
        check(scanned.closeCount() == std::min(plain.closes, 63));
        document.appendLoadedLine(line);
        const vexa::DocLine& loaded = document.line(document.lineCount() - 1);
        check(loaded.startDepth() == depth);
        check(loaded.openCount() == scanned.openCount());
        check(loaded.closeCount() == scanned.closeCount());
        depth = plain.depth;
        start = end + 1;
    }
    document.finishLoad();
    return 0;
}
