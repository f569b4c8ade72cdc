// The comment scan of a line, which tests only the offsets where a marker may begin, gives what a
// plain walk testing both markers at every byte gives, on generated text of many shapes; and a
// document has that state for every line however its language and its text arrive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/DocLine.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

struct PlainScan {
    int depth = 0;
    int opens = 0;
    int closes = 0;
};

bool plainMatch(std::string_view line, std::size_t at, std::string_view marker) {
    return !marker.empty() && line.substr(at, marker.size()) == marker;
}

// The walk the line's scan must agree with: an open marker wins over a close marker at the same
// offset, a matched marker is stepped over whole, any other byte alone.
PlainScan plainScan(std::string_view line, int startDepth, const CommentMarkers& markers) {
    PlainScan scan{startDepth, 0, 0};
    std::size_t i = 0;
    while (i < line.size()) {
        if (plainMatch(line, i, markers.open)) {
            scan.depth = std::min(scan.depth + 1, 65535);
            ++scan.opens;
            i += markers.open.size();
        } else if (plainMatch(line, i, markers.close)) {
            scan.depth = 0;
            ++scan.closes;
            i += markers.close.size();
        } else {
            ++i;
        }
    }
    return scan;
}

class Sequence {
public:
    explicit Sequence(uint32_t seed) : m_state(seed) {}
    uint32_t next(uint32_t range) {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % range;
    }

private:
    uint32_t m_state;
};

// Lines made of pieces of C-like text: comment markers alone, doubled and overlapping, strings
// with escaped quotes and markers inside, line comments, stray halves of markers, words, blanks
// and bytes above 127; some lines are thousands of bytes long.
std::vector<std::string> generatedLines(uint32_t seed, int count) {
    static const char* const kPieces[] = {
        "/*",       "*/",    "/**/",
        "/*/",      "*/*",   "**",
        "//",       "/",     "*",
        "\"",       "\\\"",  "\"/* in a string */\"",
        "'*'",      "'\\''", "\\",
        "{",        "}",     "(*",
        "*)",       "--",    "#",
        "<",        ">",     "int",
        " ",        "\t",    "x = a / b * c;",
        "\xAB\xFF", "{}",    "}{",
    };
    constexpr uint32_t kPieceCount = sizeof kPieces / sizeof kPieces[0];
    Sequence random(seed);
    std::vector<std::string> lines;
    for (int n = 0; n < count; ++n) {
        const uint32_t shape = random.next(10);
        const uint32_t pieces = shape == 0 ? 0 : shape < 8 ? random.next(12) : 400 + random.next(1200);
        std::string line;
        for (uint32_t p = 0; p < pieces; ++p) {
            line += kPieces[random.next(kPieceCount)];
        }
        lines.push_back(line);
    }
    return lines;
}

struct MarkerCase {
    const char* name;
    CommentMarkers markers;
};

TEST(CommentScan, TestingOnlyWhereAMarkerMayBeginGivesThePlainWalksState) {
    const MarkerCase cases[] = {
        {"C", {"/*", "*/"}},
        {"braces", {"{", "}"}},
        {"parenthesis star", {"(*", "*)"}},
        {"same first byte", {"/*", "/"}},
        {"same marker", {"*", "*"}},
        {"close is a prefix of open", {"--", "-"}},
        {"open only", {"/*", ""}},
        {"close only", {"", "*/"}},
        {"one byte open, two byte close", {"#", "*/"}},
        {"bytes above 127", {"\xAB", "\xFF"}},
        {"none", {"", ""}},
    };
    const std::vector<std::string> lines = generatedLines(2026, 3000);
    for (const auto& c : cases) {
        int depth = 0;
        int plainDepth = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            DocLine line(lines[i]);
            const PlainScan plain = plainScan(lines[i], plainDepth, c.markers);
            ASSERT_EQ(line.endDepth(plainDepth, c.markers), plain.depth) << c.name << " line " << i;
            depth = line.scanComments(depth, c.markers);
            ASSERT_EQ(line.startDepth(), plainDepth) << c.name << " line " << i;
            ASSERT_EQ(depth, plain.depth) << c.name << " line " << i;
            ASSERT_EQ(line.openCount(), std::min(plain.opens, 63)) << c.name << " line " << i;
            ASSERT_EQ(line.closeCount(), std::min(plain.closes, 63)) << c.name << " line " << i;
            plainDepth = plain.depth;
        }
    }
}

TEST(CommentScan, TheDepthSaturatesAsThePlainWalksDoes) {
    const CommentMarkers markers{"/*", "*/"};
    struct DepthCase {
        const char* text;
        int startDepth;
    };
    const DepthCase cases[] = {
        {"/* /* /*", 65533}, {"/* /* */ /*", 65535}, {"a", 65535}, {"*/ /*", 65535}, {"/*/", 0},
    };
    for (const auto& c : cases) {
        DocLine line(c.text);
        const PlainScan plain = plainScan(c.text, c.startDepth, markers);
        EXPECT_EQ(line.scanComments(c.startDepth, markers), plain.depth) << c.text;
        EXPECT_EQ(line.endDepth(c.startDepth, markers), plain.depth) << c.text;
        EXPECT_EQ(line.openCount(), plain.opens) << c.text;
        EXPECT_EQ(line.closeCount(), plain.closes) << c.text;
    }
}

// Rules whose markers can be changed after the document got them, as a profile edited in place.
class EditableRules final : public LanguageRules {
public:
    EditableRules(std::string open, std::string close) : m_open(std::move(open)), m_close(std::move(close)) {}
    CommentMarkers commentMarkers() const override { return {m_open, m_close}; }
    void set(std::string open, std::string close) {
        m_open = std::move(open);
        m_close = std::move(close);
    }

private:
    std::string m_open;
    std::string m_close;
};

// Every line's state against the plain walk from the top with the given markers.
void expectPlainState(const Document& document, const CommentMarkers& markers, const std::string& context) {
    int depth = 0;
    for (int i = 0; i < document.lineCount(); ++i) {
        const PlainScan plain = plainScan(document.lineText(i), depth, markers);
        const DocLine& line = document.line(i);
        ASSERT_EQ(line.startDepth(), depth) << context << " line " << i;
        ASSERT_EQ(line.openCount(), std::min(plain.opens, 63)) << context << " line " << i;
        ASSERT_EQ(line.closeCount(), std::min(plain.closes, 63)) << context << " line " << i;
        depth = plain.depth;
    }
}

TEST(CommentScan, ALoadedDocumentHasTheStateOfItsLanguageWheneverTheRulesArrive) {
    test::TempHome home;
    const std::string path = home.file("generated.c");
    std::string bytes;
    for (const std::string& line : generatedLines(7, 2000)) {
        bytes += line + "\r\n";
    }
    test::writeFileBytes(path, bytes);
    const CommentMarkers c{"/*", "*/"};
    enum class When { Before, After, BeforeAndAgain, BeforeThenNone };
    const struct {
        const char* name;
        When when;
    } cases[] = {
        {"rules before the load", When::Before},
        {"rules after the load", When::After},
        // The window gives the opened document the rules it was loaded with once more.
        {"the same rules again", When::BeforeAndAgain},
        {"rules without markers after", When::BeforeThenNone},
    };
    for (const auto& c2 : cases) {
        test::RecordingMessenger messenger;
        Document document;
        auto rules = std::make_shared<EditableRules>("/*", "*/");
        document.setFileName(path);
        if (c2.when != When::After) {
            document.setLanguageRules(rules);
        }
        DocumentFile file({}, messenger);
        ASSERT_TRUE(file.load(document)) << c2.name;
        if (c2.when == When::After || c2.when == When::BeforeAndAgain) {
            document.setLanguageRules(rules);
        }
        if (c2.when == When::BeforeThenNone) {
            document.setLanguageRules(nullptr);
            expectPlainState(document, CommentMarkers{}, c2.name);
        } else {
            expectPlainState(document, c, c2.name);
        }
    }
}

TEST(CommentScan, RulesWhoseMarkersChangedInPlaceAreScannedAgain) {
    Document document;
    auto rules = std::make_shared<EditableRules>("/*", "*/");
    document.setLanguageRules(rules);
    document.clearForLoad(0);
    for (const std::string& line : generatedLines(11, 500)) {
        document.appendLoadedLine(line);
    }
    document.finishLoad();
    expectPlainState(document, {"/*", "*/"}, "C markers");
    rules->set("{", "}");
    // Until it is told, the document keeps the state of the markers it was given.
    EXPECT_EQ(document.commentMarkers().open, "/*");
    document.setLanguageRules(rules);
    expectPlainState(document, {"{", "}"}, "brace markers");
}

} // namespace
} // namespace vexa
