// The language definition of one file extension: delimiters, comment markers, special characters
// and keyword lists, with its profile-file layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "syntax/KeywordEntry.h"

namespace vexa::syntax {

// Field widths of the profile record; every text field keeps a terminating NUL inside its width.
inline constexpr std::size_t kExtensionWidth = 4;
inline constexpr std::size_t kDescriptionWidth = 36;
inline constexpr std::size_t kDelimitersWidth = 61;
inline constexpr std::size_t kCommentWidth = 3;
inline constexpr std::size_t kKeywordListCount = 4;
// A keyword list's count is a 16-bit field of the profile file: no list holds more entries.
inline constexpr std::size_t kMaxKeywords = 65535;

inline constexpr std::string_view kDefaultDelimiters = "[](){},;:.$&*+-=~!%<>^|?/";

enum class CommentMarker : uint8_t { Start, End, Line };

// The single-character fields; the value 0 means "not set" and matches no character of a line.
enum class SpecialChar : uint8_t { Literal, KeywordPrefix, KeywordPostfix, Preprocessor, String };

// Whether a new profile starts with the built-in C and C++ keyword list.
enum class BuiltInKeywords : uint8_t { No, Yes };

// The outcome of reading or writing a profile file.
enum class ProfileFileStatus : uint8_t {
    Ok,
    OpenFailed,    // the file could not be opened for reading
    UnknownFormat, // not a profile file, cut short, or its keyword lists do not add up
    TooNew,        // written by a newer program: nothing after the header was read
    CreateFailed,  // the file could not be written
};

class ExtensionProfile {
public:
    explicit ExtensionProfile(BuiltInKeywords keywords = BuiltInKeywords::No);
    virtual ~ExtensionProfile() = default;
    ExtensionProfile(const ExtensionProfile&) = default;
    ExtensionProfile& operator=(const ExtensionProfile&) = default;

    // Setting a text field clears it and keeps at most its width minus one characters.
    void setExtension(std::string_view text);
    void setDescription(std::string_view text);
    void setDelimiters(std::string_view text);
    void setComment(CommentMarker which, std::string_view text);
    void setSpecial(SpecialChar which, char c);
    void setIgnoreCase(bool ignore);

    std::string_view extension() const { return fieldText(m_extension); }
    std::string_view description() const { return fieldText(m_description); }
    std::string_view delimiters() const { return fieldText(m_delimiters); }
    std::string_view comment(CommentMarker which) const;
    char special(SpecialChar which) const { return m_special[static_cast<std::size_t>(which)]; }
    bool ignoreCase() const { return m_ignoreCase != 0; }
    CaseMode caseMode() const { return m_ignoreCase != 0 ? CaseMode::Insensitive : CaseMode::Sensitive; }

    // Keyword list 1 drives colouring; it is kept sorted with the profile's comparison so that it
    // can be binary-searched. Lists 2 to 4 are only stored and carried along.
    void setKeywords(KeywordList list);
    std::span<const KeywordEntry> keywords() const { return m_lists[0]; }
    const KeywordEntry* keyword(std::size_t index) const;
    std::span<const KeywordEntry> keywordList(std::size_t listIndex) const { return m_lists.at(listIndex); }
    void setKeywordList(std::size_t listIndex, KeywordList list);

    // The delimiters followed by the preprocessor, keyword prefix, keyword postfix and string
    // characters that are set: the characters that end a word for cursor movement.
    std::string_view wordBreakSet() const { return m_wordBreak; }
    // What the document takes for word-wise cursor movement: the word-break set and the backslash.
    std::string_view documentWordBreaks() const { return m_documentBreaks; }

    // Whether two extensions name the same profile: the first three characters, any case.
    static bool sameExtension(std::string_view a, std::string_view b);
    bool hasExtension(std::string_view other) const { return sameExtension(extension(), other); }

    // Reads the body after the header. hasAffixes is false for the first layout, which lacks
    // the keyword prefix and postfix bytes. False when the bytes end early; what was read stays.
    [[nodiscard]] bool readBody(std::span<const char> body, bool hasAffixes);
    // Appends the body in the current layout.
    void writeBody(std::string& out) const;

    // The profile file at path, with its header; load replaces the keyword lists.
    [[nodiscard]] ProfileFileStatus load(const std::string& path);
    [[nodiscard]] ProfileFileStatus save(const std::string& path);

    // Character classes, recomputed whenever a field changes, so the tokenizer tests a byte with
    // one table look-up instead of searching the fields.
    enum CharClass : uint8_t {
        kDelimiter = 1,    // in the delimiters
        kBlank = 2,        // space or tab
        kAlnum = 4,        // ASCII letter or digit
        kSpecial = 8,      // one of the five special characters that are set
        kCommentLead = 16, // the first character of a comment marker that is set
        kSymbolBody = 32,  // continues a symbol run: a delimiter that is not blank, alnum or special
        kWordStop = 64,    // ends a word: blank, special, or a delimiter that is not alnum
        kNumber = 128,     // continues a number
    };
    uint8_t classOf(char c) const { return m_classes[static_cast<unsigned char>(c)]; }

private:
    template <std::size_t N>
    static std::string_view fieldText(const std::array<char, N>& field) {
        std::size_t length = 0;
        while (length + 1 < N && field[length] != '\0') {
            ++length;
        }
        return std::string_view(field.data(), length);
    }
    template <std::size_t N>
    static void setField(std::array<char, N>& field, std::string_view text);
    void refresh();

    std::array<char, kExtensionWidth> m_extension{};
    std::array<char, kDescriptionWidth> m_description{};
    std::array<char, kDelimitersWidth> m_delimiters{};
    std::array<std::array<char, kCommentWidth>, 3> m_comments{};
    std::array<char, 5> m_special{};
    uint16_t m_ignoreCase = 0;
    std::array<KeywordList, kKeywordListCount> m_lists;
    std::string m_wordBreak;
    std::string m_documentBreaks;
    std::array<uint8_t, 256> m_classes{};
};

// The message that reports a failed load or save of the profile file at path; empty for
// outcomes that are not reported (Ok, TooNew).
std::string profileFileMessage(ProfileFileStatus status, const std::string& path);

// The file name of the profile of an extension inside a directory: "Vexa" + extension + ".PRF",
// the name upper-cased (directories keep their case).
std::string profileFilePath(const std::string& directory, std::string_view extension);

} // namespace vexa::syntax
