// Fuzzes the tokenizer and the line painter: the first bytes set up a profile (special
// characters, comment markers, delimiters, keywords), the rest is the line. Tokens must cover
// the line exactly, and painted runs must lie inside it in increasing columns; text runs start and
// end between characters, at the columns the line's own layout gives their bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/DocLine.h"
#include "syntax/ExtensionProfile.h"
#include "syntax/LinePainter.h"
#include "syntax/LineTokenizer.h"
#include "text/TextEncoding.h"

namespace {

using namespace vexa::syntax;

// Takes n bytes from the front of the input (fewer when it runs out).
std::string_view take(std::string_view& input, std::size_t n) {
    const std::string_view piece = input.substr(0, n);
    input.remove_prefix(piece.size());
    return piece;
}

char takeChar(std::string_view& input) {
    const std::string_view piece = take(input, 1);
    return piece.empty() ? '\0' : piece[0];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const char flags = takeChar(input);
    ExtensionProfile profile((flags & 1) != 0 ? BuiltInKeywords::Yes : BuiltInKeywords::No);
    profile.setIgnoreCase((flags & 2) != 0);
    for (SpecialChar which : {SpecialChar::Literal, SpecialChar::KeywordPrefix, SpecialChar::KeywordPostfix,
                              SpecialChar::Preprocessor, SpecialChar::String}) {
        profile.setSpecial(which, takeChar(input));
    }
    for (CommentMarker which : {CommentMarker::Start, CommentMarker::End, CommentMarker::Line}) {
        profile.setComment(which, take(input, 2));
    }
    profile.setDelimiters(take(input, static_cast<unsigned char>(takeChar(input)) % 16));
    KeywordList keywords;
    const int keywordCount = static_cast<unsigned char>(takeChar(input)) % 4;
    for (int i = 0; i < keywordCount; ++i) {
        keywords.push_back(KeywordEntry::make(take(input, static_cast<unsigned char>(takeChar(input)) % 8)));
    }
    if (keywordCount > 0) {
        profile.setKeywords(keywords);
    }
    const int tabSize = static_cast<unsigned char>(takeChar(input)) % 9;
    const int markFrom = static_cast<unsigned char>(takeChar(input)) % 64;
    const int markTo = static_cast<unsigned char>(takeChar(input)) % 64;
    const bool inComment = (flags & 4) != 0;
    const vexa::LineLayout layout{tabSize, (flags & 8) != 0 ? vexa::TextEncoding::Utf8
                                                            : vexa::TextEncoding::Windows1252};
    const int closeEnd = static_cast<unsigned char>(takeChar(input)) % 64;
    const std::string_view line = input;

    for (std::size_t pos = 0;;) {
        const Token token = scanToken(profile, line, pos);
        if (token.kind == TokenKind::EndOfLine) {
            if (pos != line.size() || token.length != 0) {
                std::abort();
            }
            break;
        }
        if (token.offset != pos || token.length == 0 || token.offset + token.length > line.size()) {
            std::abort();
        }
        pos = token.offset + token.length;
    }

    LinePainter painter;
    const vexa::DocLine cells(line);
    const auto startsCharacter = [&](std::size_t offset) {
        return offset == line.size() ||
               vexa::text::characterStart(line, static_cast<int>(offset), layout.encoding) ==
                   static_cast<int>(offset);
    };
    int column = -1;
    for (const PaintRun& run :
         painter.paint(line, {inComment, closeEnd}, profile, layout, {0, 200}, {markFrom, markTo})) {
        if (run.width <= 0 || run.column < column || run.length == 0 ||
            run.offset + run.length > line.size()) {
            std::abort();
        }
        if (run.content == RunContent::Text) {
            const auto from = static_cast<int>(run.offset);
            const auto to = static_cast<int>(run.offset + run.length);
            if (!startsCharacter(run.offset) || !startsCharacter(run.offset + run.length) ||
                cells.columnOfOffset(from, layout) != run.column ||
                cells.columnOfOffset(to, layout) != run.column + run.width) {
                std::abort();
            }
        }
        column = run.column + run.width;
    }
    return 0;
}
