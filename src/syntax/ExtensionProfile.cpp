// Fields, derived character classes and the profile-file body of an extension profile.
#include "syntax/ExtensionProfile.h"

#include <algorithm>

namespace vexa::syntax {

namespace {

// The default profile's extension: "*.TXT" cut to the field, so no real extension equals it.
constexpr std::string_view kDefaultExtension = "*.TXT";
constexpr std::string_view kNumberChars = "0123456789.xabcdefXABCDEF";

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

ExtensionProfile::ExtensionProfile(BuiltInKeywords keywords) {
    setField(m_extension, kDefaultExtension);
    setField(m_delimiters, kDefaultDelimiters);
    setField(m_comments[static_cast<std::size_t>(CommentMarker::Start)], "/*");
    setField(m_comments[static_cast<std::size_t>(CommentMarker::End)], "*/");
    setField(m_comments[static_cast<std::size_t>(CommentMarker::Line)], "//");
    m_special[static_cast<std::size_t>(SpecialChar::Preprocessor)] = '#';
    m_special[static_cast<std::size_t>(SpecialChar::String)] = '"';
    if (keywords == BuiltInKeywords::Yes) {
        const auto builtIn = builtInKeywords();
        m_lists[0].assign(builtIn.begin(), builtIn.end());
    }
    refresh();
}

template <std::size_t N>
void ExtensionProfile::setField(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

void ExtensionProfile::setExtension(std::string_view text) {
    setField(m_extension, text);
}

void ExtensionProfile::setDescription(std::string_view text) {
    setField(m_description, text);
}

void ExtensionProfile::setDelimiters(std::string_view text) {
    setField(m_delimiters, text);
    refresh();
}

void ExtensionProfile::setComment(CommentMarker which, std::string_view text) {
    setField(m_comments[static_cast<std::size_t>(which)], text);
    refresh();
}

std::string_view ExtensionProfile::comment(CommentMarker which) const {
    return fieldText(m_comments[static_cast<std::size_t>(which)]);
}

void ExtensionProfile::setSpecial(SpecialChar which, char c) {
    m_special[static_cast<std::size_t>(which)] = c;
    refresh();
}

void ExtensionProfile::setIgnoreCase(bool ignore) {
    m_ignoreCase = ignore ? 1 : 0;
    // The binary search relies on the order of the comparison in use.
    sortKeywords(m_lists[0], caseMode());
}

void ExtensionProfile::setKeywords(KeywordList list) {
    setKeywordList(0, std::move(list));
}

void ExtensionProfile::setKeywordList(std::size_t listIndex, KeywordList list) {
    for (KeywordEntry& entry : list) {
        // Keep every entry consistent: terminated text and a length that matches it.
        entry.text[kKeywordMaxLength] = '\0';
        const auto end = std::find(entry.text.begin(), entry.text.end(), '\0');
        entry.length = static_cast<uint16_t>(end - entry.text.begin());
        std::fill(entry.text.begin() + entry.length, entry.text.end(), '\0');
    }
    m_lists.at(listIndex) = std::move(list);
    if (listIndex == 0) {
        sortKeywords(m_lists[0], caseMode());
    }
}

const KeywordEntry* ExtensionProfile::keyword(std::size_t index) const {
    return index < m_lists[0].size() ? &m_lists[0][index] : nullptr;
}

bool ExtensionProfile::sameExtension(std::string_view a, std::string_view b) {
    a = a.substr(0, 3);
    b = b.substr(0, 3);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

void ExtensionProfile::refresh() {
    m_wordBreak.assign(delimiters());
    for (SpecialChar which : {SpecialChar::Preprocessor, SpecialChar::KeywordPrefix,
                              SpecialChar::KeywordPostfix, SpecialChar::String}) {
        if (const char c = special(which); c != '\0') {
            m_wordBreak.push_back(c);
        }
    }

    m_classes.fill(0);
    for (const char c : delimiters()) {
        m_classes[static_cast<unsigned char>(c)] |= kDelimiter;
    }
    m_classes[static_cast<unsigned char>(' ')] |= kBlank;
    m_classes[static_cast<unsigned char>('\t')] |= kBlank;
    for (int c = 0; c < 256; ++c) {
        if (isAsciiAlnum(static_cast<unsigned char>(c))) {
            m_classes[static_cast<std::size_t>(c)] |= kAlnum;
        }
    }
    for (const char c : m_special) {
        if (c != '\0') {
            m_classes[static_cast<unsigned char>(c)] |= kSpecial;
        }
    }
    for (const auto& marker : m_comments) {
        if (marker[0] != '\0') {
            m_classes[static_cast<unsigned char>(marker[0])] |= kCommentLead;
        }
    }
    for (const char c : kNumberChars) {
        m_classes[static_cast<unsigned char>(c)] |= kNumber;
    }
    for (auto& cls : m_classes) {
        if ((cls & kDelimiter) != 0 && (cls & (kBlank | kAlnum | kSpecial)) == 0) {
            cls |= kSymbolBody;
        }
        if ((cls & (kBlank | kSpecial)) != 0 || ((cls & kDelimiter) != 0 && (cls & kAlnum) == 0)) {
            cls |= kWordStop;
        }
    }
}

std::string profileFilePath(const std::string& directory, std::string_view extension) {
    std::string name = "Vexa";
    name.append(extension);
    name.append(".PRF");
    std::transform(name.begin(), name.end(), name.begin(), upperAscii);
    if (directory.empty()) {
        return name;
    }
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

} // namespace vexa::syntax
