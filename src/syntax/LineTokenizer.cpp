// The rules of the line tokenizer, tried in order for the character at the scan position.
#include "syntax/LineTokenizer.h"

#include <algorithm>

namespace vexa::syntax {

namespace {

using CC = ExtensionProfile::CharClass;

// A marker matches where its first character stands and, for two characters, the second follows.
bool markerAt(std::string_view marker, std::string_view line, std::size_t pos) {
    if (marker.empty() || pos >= line.size() || line[pos] != marker[0]) {
        return false;
    }
    return marker.size() == 1 || (pos + 1 < line.size() && line[pos + 1] == marker[1]);
}

bool anyMarkerAt(const ExtensionProfile& profile, std::string_view line, std::size_t pos) {
    return markerAt(profile.comment(CommentMarker::Line), line, pos) ||
           markerAt(profile.comment(CommentMarker::Start), line, pos) ||
           markerAt(profile.comment(CommentMarker::End), line, pos);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The end of a word that begins at pos; the character at pos itself is examined too.
std::size_t wordEnd(const ExtensionProfile& profile, std::string_view line, std::size_t pos) {
    while (pos < line.size()) {
        const uint8_t cls = profile.classOf(line[pos]);
        if ((cls & CC::kWordStop) != 0 ||
            ((cls & CC::kCommentLead) != 0 && anyMarkerAt(profile, line, pos))) {
            break;
        }
        ++pos;
    }
    return pos;
}

bool setAndEquals(char field, char c) {
    return field != '\0' && field == c;
}

Token stringToken(const ExtensionProfile& profile, std::string_view line, std::size_t pos) {
    const char quote = line[pos];
    const char literal = profile.special(SpecialChar::Literal);
    std::size_t end = line.size();
    std::size_t from = pos + 1;
    while (from < line.size()) {
        const std::size_t at = line.find(quote, from);
        if (at == std::string_view::npos) {
            break;
        }
        const bool escaped = setAndEquals(literal, line[at - 1]);
        // A doubled literal character escapes itself, so the quote after it closes the string;
        // both of them must lie inside the string.
        const bool doubled = escaped && at >= pos + 3 && line[at - 2] == literal;
        if (!escaped || doubled) {
            end = at + 1;
            break;
        }
        from = at + 1;
    }
    const std::string_view text = line.substr(pos + 1);
    TokenKind kind = TokenKind::String;
    if (startsWithNoCase(text, "http://")) {
        kind = TokenKind::HttpString;
    } else if (startsWithNoCase(text, "ftp://")) {
        kind = TokenKind::FtpString;
    } else if (startsWithNoCase(text, "mailto:")) {
        kind = TokenKind::MailtoString;
    }
    return {pos, end - pos, kind};
}

} // namespace

bool isKeywordAt(const ExtensionProfile& profile, std::string_view line, std::size_t pos,
                 std::size_t length) {
    const auto keywords = profile.keywords();
    if (keywords.empty() || length == 0) {
        return false;
    }
    const std::string_view word = line.substr(pos, std::min(length, kKeywordMaxLength));
    const KeywordEntry* found = profile.caseMode() == CaseMode::Sensitive
                                    ? findExactKeyword(keywords, word)
                                    : findKeyword(keywords, KeywordEntry::make(word), CaseMode::Insensitive);
    if (found == nullptr) {
        return false;
    }
    const std::size_t follow = pos + found->length;
    if (follow >= line.size()) {
        return true;
    }
    const uint8_t cls = profile.classOf(line[follow]);
    return (cls & CC::kBlank) != 0 || ((cls & CC::kDelimiter) != 0 && (cls & CC::kAlnum) == 0);
}

Token scanToken(const ExtensionProfile& profile, std::string_view line, std::size_t pos) {
    const std::size_t size = line.size();
    if (pos >= size) {
        return {size, 0, TokenKind::EndOfLine};
    }
    const char c = line[pos];
    const uint8_t cls = profile.classOf(c);

    if (c == '\t') {
        return {pos, 1, TokenKind::Tab};
    }
    if (c == ' ') {
        std::size_t end = pos + 1;
        while (end < size && line[end] == ' ') {
            ++end;
        }
        return {pos, end - pos, TokenKind::Spaces};
    }
    if (setAndEquals(profile.special(SpecialChar::Literal), c)) {
        return {pos, pos + 1 < size ? 2u : 1u, TokenKind::LiteralPair};
    }
    if ((cls & CC::kCommentLead) != 0) {
        if (markerAt(profile.comment(CommentMarker::Line), line, pos)) {
            return {pos, size - pos, TokenKind::LineComment};
        }
        const std::string_view start = profile.comment(CommentMarker::Start);
        const std::string_view close = profile.comment(CommentMarker::End);
        if (markerAt(start, line, pos)) {
            // A comment without an end marker can never close on its line.
            const std::size_t at =
                close.empty() ? std::string_view::npos : line.find(close, pos + start.size());
            if (at != std::string_view::npos) {
                return {pos, at + close.size() - pos, TokenKind::BlockComment};
            }
            return {pos, size - pos, TokenKind::OpenComment};
        }
        if (markerAt(close, line, pos)) {
            return {pos, close.size(), TokenKind::OpenComment};
        }
    }
    if (setAndEquals(profile.special(SpecialChar::String), c)) {
        return stringToken(profile, line, pos);
    }
    if (setAndEquals(profile.special(SpecialChar::Preprocessor), c)) {
        std::size_t end = pos + 1;
        while (end < size && (line[end] == ' ' || line[end] == '\t')) {
            ++end;
        }
        while (end < size && line[end] != ' ' && line[end] != '\t') {
            ++end;
        }
        return {pos, end - pos, TokenKind::Preprocessor};
    }
    if (c >= '0' && c <= '9') {
        std::size_t end = pos + 1;
        while (end < size && (profile.classOf(line[end]) & CC::kNumber) != 0) {
            ++end;
        }
        return {pos, end - pos, TokenKind::Number};
    }
    if (setAndEquals(profile.special(SpecialChar::KeywordPrefix), c)) {
        const std::string_view text = line.substr(pos, kKeywordMaxLength);
        if (const KeywordEntry* found = findPrefixKeyword(profile.keywords(), text, profile.caseMode())) {
            return {pos, std::min<std::size_t>(found->length, size - pos), TokenKind::Keyword};
        }
        return {pos, wordEnd(profile, line, pos + 1) - pos, TokenKind::Word};
    }
    if (setAndEquals(profile.special(SpecialChar::KeywordPostfix), c)) {
        return {pos, 1, TokenKind::Keyword};
    }
    if ((cls & CC::kDelimiter) != 0 && (cls & CC::kAlnum) == 0) {
        std::size_t end = pos + 1;
        while (end < size) {
            const uint8_t next = profile.classOf(line[end]);
            if ((next & CC::kSymbolBody) == 0 ||
                ((next & CC::kCommentLead) != 0 && anyMarkerAt(profile, line, end))) {
                break;
            }
            ++end;
        }
        return {pos, end - pos, TokenKind::Symbols};
    }
    const std::size_t end = std::max(wordEnd(profile, line, pos + 1), pos + 1);
    const TokenKind kind = isKeywordAt(profile, line, pos, end - pos) ? TokenKind::Keyword : TokenKind::Word;
    return {pos, end - pos, kind};
}

} // namespace vexa::syntax
