// The ignore-file reader and its glob matcher.
#include "findfiles/IgnoreRules.h"

#include <algorithm>

namespace vexa::findfiles {
namespace {

using Token = GlobToken;
using TokenKind = GlobToken::Kind;

Token makeToken(TokenKind kind, char byte = 0) {
    Token token;
    token.kind = kind;
    token.byte = byte;
    return token;
}

// Reads a set from "[" at `at`; nothing (and `at` unchanged) when it is not closed, so that the
// "[" stands for itself.
bool readSet(std::string_view pattern, std::size_t& at, Token& token) {
    std::size_t i = at + 1;
    token = makeToken(TokenKind::Set);
    if (i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^')) {
        token.negated = true;
        ++i;
    }
    bool first = true;
    while (i < pattern.size() && (pattern[i] != ']' || first)) {
        first = false;
        char low = pattern[i];
        if (low == '\\' && i + 1 < pattern.size()) {
            low = pattern[++i];
        }
        ++i;
        char high = low;
        if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] != ']') {
            high = pattern[i + 1];
            if (high == '\\' && i + 2 < pattern.size()) {
                ++i;
                high = pattern[i + 1];
            }
            i += 2;
        }
        for (int c = static_cast<unsigned char>(low); c <= static_cast<unsigned char>(high); ++c) {
            token.members.set(static_cast<std::size_t>(c));
        }
    }
    if (i >= pattern.size()) {
        return false;
    }
    at = i + 1;
    return true;
}

std::vector<Token> tokenize(std::string_view pattern) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const char c = pattern[at];
        if (c == '*') {
            std::size_t end = at;
            while (end < pattern.size() && pattern[end] == '*') {
                ++end;
            }
            const bool startsName = at == 0 || pattern[at - 1] == '/';
            if (end - at >= 2 && startsName && end < pattern.size() && pattern[end] == '/') {
                tokens.push_back(makeToken(TokenKind::Folders));
                at = end + 1;
            } else if (end - at >= 2 && startsName && end == pattern.size()) {
                tokens.push_back(makeToken(TokenKind::AnyText));
                at = end;
            } else {
                tokens.push_back(makeToken(TokenKind::Star));
                at = end;
            }
        } else if (c == '?') {
            tokens.push_back(makeToken(TokenKind::AnyOne));
            ++at;
        } else if (c == '[') {
            Token token;
            if (readSet(pattern, at, token)) {
                tokens.push_back(std::move(token));
            } else {
                tokens.push_back(makeToken(TokenKind::Byte, '['));
                ++at;
            }
        } else if (c == '\\' && at + 1 < pattern.size()) {
            tokens.push_back(makeToken(TokenKind::Byte, pattern[at + 1]));
            at += 2;
        } else {
            tokens.push_back(makeToken(TokenKind::Byte, c));
            ++at;
        }
    }
    return tokens;
}

bool matchesOne(const Token& token, char c) {
    switch (token.kind) {
    case TokenKind::Byte:
        return c == token.byte;
    case TokenKind::AnyOne:
        return c != '/';
    case TokenKind::Set:
        return c != '/' && token.members.test(static_cast<unsigned char>(c)) != token.negated;
    default:
        return false;
    }
}

bool matchesTokens(const std::vector<Token>& tokens, std::string_view text) {
    // reached[j]: the tokens so far match the first j bytes of the text.
    std::vector<char> reached(text.size() + 1, 0);
    std::vector<char> next(text.size() + 1, 0);
    reached[0] = 1;
    for (const Token& token : tokens) {
        std::fill(next.begin(), next.end(), 0);
        switch (token.kind) {
        case TokenKind::Star:
            for (std::size_t j = 0; j <= text.size(); ++j) {
                next[j] = reached[j] || (j > 0 && next[j - 1] && text[j - 1] != '/');
            }
            break;
        case TokenKind::AnyText: {
            bool any = false;
            for (std::size_t j = 0; j <= text.size(); ++j) {
                any = any || reached[j];
                next[j] = any;
            }
            break;
        }
        case TokenKind::Folders: {
            // Nothing, or any text ending in "/".
            bool any = false;
            for (std::size_t j = 0; j <= text.size(); ++j) {
                next[j] = reached[j] || (any && j > 0 && text[j - 1] == '/');
                any = any || reached[j];
            }
            break;
        }
        default:
            for (std::size_t j = 1; j <= text.size(); ++j) {
                next[j] = reached[j - 1] && matchesOne(token, text[j - 1]);
            }
            break;
        }
        reached.swap(next);
        if (std::find(reached.begin(), reached.end(), 1) == reached.end()) {
            return false;
        }
    }
    return reached[text.size()] != 0;
}

std::string_view withoutTrailingBlanks(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) {
        // A blank kept by a backslash stays, with the backslash.
        std::size_t slashes = 0;
        while (slashes < end - 1 && line[end - 2 - slashes] == '\\') {
            ++slashes;
        }
        if (slashes % 2 == 1) {
            break;
        }
        --end;
    }
    return line.substr(0, end);
}

} // namespace

bool matchesGlob(std::string_view pattern, std::string_view text) {
    return matchesTokens(tokenize(pattern), text);
}

IgnoreRules IgnoreRules::parse(std::string_view text) {
    IgnoreRules rules;
    std::size_t at = 0;
    while (at < text.size() && rules.m_rules.size() < kMaxRules) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = withoutTrailingBlanks(line);
        if (line.empty() || line.front() == '#' || line.size() > kMaxPatternBytes) {
            continue;
        }
        Rule rule;
        if (line.front() == '!') {
            rule.negated = true;
            line.remove_prefix(1);
        } else if (line.size() >= 2 && line[0] == '\\' && (line[1] == '!' || line[1] == '#')) {
            line.remove_prefix(1);
        }
        if (!line.empty() && line.back() == '/') {
            rule.foldersOnly = true;
            line.remove_suffix(1);
        }
        // A slash anywhere but at the end ties the pattern to the ignore file's folder.
        if (line.find('/') != std::string_view::npos) {
            rule.anchored = true;
            if (line.front() == '/') {
                line.remove_prefix(1);
            }
        }
        if (line.empty()) {
            continue;
        }
        rule.glob = tokenize(line);
        rules.m_rules.push_back(std::move(rule));
    }
    return rules;
}

IgnoreVerdict IgnoreRules::verdict(std::string_view relativePath, PathKind kind) const {
    const std::size_t slash = relativePath.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? relativePath : relativePath.substr(slash + 1);
    for (auto rule = m_rules.rbegin(); rule != m_rules.rend(); ++rule) {
        if (rule->foldersOnly && kind != PathKind::Folder) {
            continue;
        }
        if (matchesTokens(rule->glob, rule->anchored ? relativePath : name)) {
            return rule->negated ? IgnoreVerdict::Keep : IgnoreVerdict::Ignore;
        }
    }
    return IgnoreVerdict::None;
}

} // namespace vexa::findfiles
