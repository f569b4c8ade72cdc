// Fields, derived character classes and the profile-file body of an extension profile.
#include "syntax/ExtensionProfile.h"

#include <algorithm>

#include "settings/BinaryFields.h"
#include "settings/InfoFile.h"

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
    // More entries than the file's count can hold would be saved with a wrapped count.
    if (list.size() > kMaxKeywords) {
        list.resize(kMaxKeywords);
    }
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
    m_documentBreaks = m_wordBreak;
    if (m_documentBreaks.find('\\') == std::string::npos) {
        m_documentBreaks.push_back('\\');
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

bool ExtensionProfile::readBody(std::span<const char> body, bool hasAffixes) {
    FieldReader in(body);
    std::string text;
    uint8_t byte = 0;
    if (in.fixedString(kDescriptionWidth, text)) {
        setField(m_description, text);
    }
    if (in.fixedString(kCommentWidth, text)) {
        setField(m_comments[static_cast<std::size_t>(CommentMarker::Start)], text);
    }
    if (in.fixedString(kExtensionWidth, text)) {
        setField(m_extension, text);
    }
    if (in.fixedString(kCommentWidth, text)) {
        setField(m_comments[static_cast<std::size_t>(CommentMarker::End)], text);
    }
    if (in.fixedString(kDelimitersWidth, text)) {
        setField(m_delimiters, text);
    }
    if (in.fixedString(kCommentWidth, text)) {
        setField(m_comments[static_cast<std::size_t>(CommentMarker::Line)], text);
    }
    std::array<SpecialChar, 5> order = {SpecialChar::String, SpecialChar::Preprocessor, SpecialChar::Literal,
                                        SpecialChar::KeywordPrefix, SpecialChar::KeywordPostfix};
    for (std::size_t i = 0; i < (hasAffixes ? 5u : 3u); ++i) {
        if (in.u8(byte)) {
            m_special[static_cast<std::size_t>(order[i])] = static_cast<char>(byte);
        }
    }
    uint16_t ignore = 0;
    if (in.u16(ignore)) {
        m_ignoreCase = ignore != 0 ? 1 : 0;
    }
    std::array<KeywordList, kKeywordListCount> lists;
    std::size_t listsStarted = 0;
    for (std::size_t list = 0; list < kKeywordListCount; ++list) {
        uint16_t count = 0;
        if (!in.u16(count)) {
            break;
        }
        ++listsStarted;
        // A damaged count must not reserve more than the bytes left can hold.
        lists[list].reserve(std::min<std::size_t>(count, in.remaining() / (2 + kKeywordFieldWidth)));
        for (uint16_t i = 0; i < count; ++i) {
            KeywordEntry entry;
            if (!in.u16(entry.length) || !in.bytes(entry.text)) {
                break;
            }
            lists[list].push_back(entry);
        }
    }
    // The counts must add up to the file: bytes left over after the last list, or a later list
    // running past the end, mean a count that is wrong (damaged, or wrapped past 16 bits) and
    // later lists read from keyword text, so no list of such a file is kept. A file that ends
    // inside the first list is merely cut short and keeps the entries read before the end.
    const bool damaged = (!in.failed() && in.remaining() != 0) || (in.failed() && listsStarted > 1);
    if (damaged) {
        lists = {};
    }
    for (std::size_t list = 0; list < kKeywordListCount; ++list) {
        setKeywordList(list, std::move(lists[list]));
    }
    refresh();
    return !in.failed() && !damaged;
}

void ExtensionProfile::writeBody(std::string& out) const {
    FieldWriter writer;
    writer.fixedString(description(), kDescriptionWidth);
    writer.fixedString(comment(CommentMarker::Start), kCommentWidth);
    writer.fixedString(extension(), kExtensionWidth);
    writer.fixedString(comment(CommentMarker::End), kCommentWidth);
    writer.fixedString(delimiters(), kDelimitersWidth);
    writer.fixedString(comment(CommentMarker::Line), kCommentWidth);
    for (SpecialChar which : {SpecialChar::String, SpecialChar::Preprocessor, SpecialChar::Literal,
                              SpecialChar::KeywordPrefix, SpecialChar::KeywordPostfix}) {
        writer.u8(static_cast<uint8_t>(special(which)));
    }
    writer.u16(m_ignoreCase);
    for (const KeywordList& list : m_lists) {
        writer.u16(static_cast<uint16_t>(list.size()));
        // On disk the length comes first, although the text comes first in the record.
        for (const KeywordEntry& entry : list) {
            writer.u16(entry.length);
            writer.bytes(entry.text);
        }
    }
    out += writer.data();
}

ProfileFileStatus ExtensionProfile::load(const std::string& path) {
    InfoFile file;
    if (!file.openForReading(path)) {
        return ProfileFileStatus::OpenFailed;
    }
    if (!file.isType(kExtensionInfo.fileType)) {
        (void)file.close();
        return ProfileFileStatus::UnknownFormat;
    }
    if (!file.versionAtMost(kExtensionInfo.version)) {
        for (std::size_t list = 0; list < kKeywordListCount; ++list) {
            setKeywordList(list, {});
        }
        (void)file.close();
        return ProfileFileStatus::TooNew;
    }
    // The keyword prefix and postfix bytes came with the second layout.
    const bool hasAffixes = !file.versionAtMost("01.00");
    std::string body;
    std::array<char, 4096> chunk{};
    for (;;) {
        const std::size_t got = file.read(chunk);
        body.append(chunk.data(), got);
        if (got < chunk.size()) {
            break;
        }
    }
    (void)file.close();
    return readBody(body, hasAffixes) ? ProfileFileStatus::Ok : ProfileFileStatus::UnknownFormat;
}

ProfileFileStatus ExtensionProfile::save(const std::string& path) {
    for (KeywordList& list : m_lists) {
        sortKeywords(list, caseMode());
    }
    std::string body;
    writeBody(body);
    InfoFile file;
    if (!file.create(path, InfoHeader::forKind(kExtensionInfo))) {
        return ProfileFileStatus::CreateFailed;
    }
    const bool written = file.write(body);
    const bool closed = file.close();
    refresh();
    return written && closed ? ProfileFileStatus::Ok : ProfileFileStatus::CreateFailed;
}

std::string profileFileMessage(ProfileFileStatus status, const std::string& path) {
    switch (status) {
    case ProfileFileStatus::OpenFailed:
        return infoOpenErrorMessage(path);
    case ProfileFileStatus::UnknownFormat:
        return infoUnknownFormatMessage(path);
    case ProfileFileStatus::CreateFailed:
        return infoCreateErrorMessage(path);
    default:
        return {};
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
