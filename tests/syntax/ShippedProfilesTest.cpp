// The extension profiles shipped in share/vConfig: each one is generated from the table below,
// compared byte for byte with the committed file, read back, validated and tried on a line.
//
// To regenerate the files after changing the table, run this test program with
// VEXA_WRITE_SHIPPED_PROFILES=1 in the environment; it then writes share/vConfig instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "frame/HeadlessFrame.h"
#include "support/TempHome.h"
#include "syntax/EditExtensionDialog.h"
#include "syntax/ExtensionProfile.h"
#include "syntax/LineTokenizer.h"
#include "syntax/SyntaxSettings.h"

namespace vexa::syntax {
namespace {

struct ShippedLanguage {
    std::string_view extension;
    std::string_view description;
    std::string_view delimiters;
    std::string_view commentStart;
    std::string_view commentEnd;
    std::string_view lineComment;
    char literal;
    char preprocessor;
    char string;
    bool ignoreCase;
    std::vector<std::string_view> keywords; // empty: the built-in C and C++ list
    // A sample line and the kinds of its tokens, to show the profile colours what it should.
    std::string_view sample;
    std::vector<TokenKind> sampleKinds;
};

constexpr std::string_view kCDelimiters = "[](){},;:.$&*+-=~!%<>^|?/";
// Pascal's braces open and close comments, so they cannot also be delimiters.
constexpr std::string_view kPascalDelimiters = "[]().,;:$&*+-=<>^@/";

using K = TokenKind;

const std::vector<ShippedLanguage>& shippedLanguages() {
    static const std::vector<ShippedLanguage> table = [] {
        std::vector<ShippedLanguage> languages;
        const std::vector<K> cKinds = {K::Keyword, K::Spaces,  K::Word,   K::Symbols,
                                       K::String,  K::Symbols, K::Spaces, K::BlockComment};
        // The keywords of C++ up to C++23, with the identifiers of special meaning (final,
        // override, import, module). C keeps the built-in list; a header may be either language.
        const std::vector<std::string_view> cpp = {"alignas",
                                                   "alignof",
                                                   "and",
                                                   "and_eq",
                                                   "asm",
                                                   "auto",
                                                   "bitand",
                                                   "bitor",
                                                   "bool",
                                                   "break",
                                                   "case",
                                                   "catch",
                                                   "char",
                                                   "char16_t",
                                                   "char32_t",
                                                   "char8_t",
                                                   "class",
                                                   "co_await",
                                                   "co_return",
                                                   "co_yield",
                                                   "compl",
                                                   "concept",
                                                   "const",
                                                   "const_cast",
                                                   "consteval",
                                                   "constexpr",
                                                   "constinit",
                                                   "continue",
                                                   "decltype",
                                                   "default",
                                                   "delete",
                                                   "do",
                                                   "double",
                                                   "dynamic_cast",
                                                   "else",
                                                   "enum",
                                                   "explicit",
                                                   "export",
                                                   "extern",
                                                   "false",
                                                   "final",
                                                   "float",
                                                   "for",
                                                   "friend",
                                                   "goto",
                                                   "if",
                                                   "import",
                                                   "inline",
                                                   "int",
                                                   "long",
                                                   "module",
                                                   "mutable",
                                                   "namespace",
                                                   "new",
                                                   "noexcept",
                                                   "not",
                                                   "not_eq",
                                                   "nullptr",
                                                   "operator",
                                                   "or",
                                                   "or_eq",
                                                   "override",
                                                   "private",
                                                   "protected",
                                                   "public",
                                                   "register",
                                                   "reinterpret_cast",
                                                   "requires",
                                                   "return",
                                                   "short",
                                                   "signed",
                                                   "sizeof",
                                                   "static",
                                                   "static_assert",
                                                   "static_cast",
                                                   "struct",
                                                   "switch",
                                                   "template",
                                                   "this",
                                                   "thread_local",
                                                   "throw",
                                                   "true",
                                                   "try",
                                                   "typedef",
                                                   "typeid",
                                                   "typename",
                                                   "union",
                                                   "unsigned",
                                                   "using",
                                                   "virtual",
                                                   "void",
                                                   "volatile",
                                                   "wchar_t",
                                                   "while",
                                                   "xor",
                                                   "xor_eq"};
        for (const auto& [extension, description] :
             std::vector<std::pair<std::string_view, std::string_view>>{{"C", "C source"},
                                                                        {"H", "C and C++ header"},
                                                                        {"CPP", "C++ source"},
                                                                        {"CC", "C++ source"},
                                                                        {"CXX", "C++ source"},
                                                                        {"HPP", "C++ header"}}) {
            const bool isC = extension == "C";
            languages.push_back({extension, description, kCDelimiters, "/*", "*/", "//", '\\', '#', '"',
                                 false, isC ? std::vector<std::string_view>{} : cpp,
                                 "char s[]=\"a\\\"b\"; /* x */", cKinds});
        }
        languages.push_back(
            {"JAV",
             "Java source",
             kCDelimiters,
             "/*",
             "*/",
             "//",
             '\\',
             '@',
             '"',
             false,
             {"abstract",  "assert",       "boolean", "break",      "byte",    "case",       "catch",
              "char",      "class",        "const",   "continue",   "default", "do",         "double",
              "else",      "enum",         "extends", "false",      "final",   "finally",    "float",
              "for",       "goto",         "if",      "implements", "import",  "instanceof", "int",
              "interface", "long",         "native",  "new",        "null",    "package",    "private",
              "protected", "public",       "return",  "short",      "static",  "strictfp",   "super",
              "switch",    "synchronized", "this",    "throw",      "throws",  "transient",  "true",
              "try",       "var",          "void",    "volatile",   "while"},
             "@Override public // x",
             {K::Preprocessor, K::Spaces, K::Keyword, K::Spaces, K::LineComment}});
        const std::vector<std::string_view> python = {
            "False", "None", "True", "and", "as", "assert", "async", "await", "break", "class", "continue",
            "def", "del", "elif", "else", "except", "finally", "for", "from", "global", "if", "import", "in",
            "is", "lambda", "nonlocal", "not", "or", "pass", "raise", "return", "try", "while", "with",
            "yield",
            // The soft keywords of pattern matching and type aliases.
            "case", "match", "type"};
        for (const auto extension : {std::string_view("PY"), std::string_view("PYW")}) {
            languages.push_back({extension,
                                 "Python script",
                                 kCDelimiters,
                                 "",
                                 "",
                                 "#",
                                 '\\',
                                 '@',
                                 '"',
                                 false,
                                 python,
                                 "def f(x): # None",
                                 {K::Keyword, K::Spaces, K::Word, K::Symbols, K::Word, K::Symbols, K::Spaces,
                                  K::LineComment}});
        }
        const std::vector<std::string_view> shell = {
            "break", "case",  "continue", "declare",  "do",     "done",   "echo", "elif",     "else",
            "esac",  "eval",  "exec",     "exit",     "export", "fi",     "for",  "function", "if",
            "in",    "local", "read",     "readonly", "return", "select", "set",  "shift",    "source",
            "test",  "then",  "trap",     "typeset",  "unset",  "until",  "while"};
        languages.push_back(
            {"SH",
             "Shell script",
             kCDelimiters,
             "",
             "",
             "#",
             '\\',
             '\0',
             '"',
             false,
             shell,
             "if [ -f x ]; then # y",
             {K::Keyword, K::Spaces, K::Symbols, K::Spaces, K::Symbols, K::Word, K::Spaces, K::Word,
              K::Spaces, K::Symbols, K::Spaces, K::Keyword, K::Spaces, K::LineComment}});
        const std::vector<std::string_view> make = {"define",   "else",     "endef",    "endif", "export",
                                                    "ifdef",    "ifeq",     "ifndef",   "ifneq", "include",
                                                    "override", "sinclude", "unexport", "vpath"};
        for (const auto extension : {std::string_view("MAK"), std::string_view("MK")}) {
            languages.push_back({extension,
                                 "Makefile",
                                 kCDelimiters,
                                 "",
                                 "",
                                 "#",
                                 '\\',
                                 '\0',
                                 '"',
                                 false,
                                 make,
                                 "ifeq ($(CC),cc) # c",
                                 {K::Keyword, K::Spaces, K::Symbols, K::Word, K::Symbols, K::Word, K::Symbols,
                                  K::Spaces, K::LineComment}});
        }
        languages.push_back(
            {"PAS",
             "Pascal source",
             kPascalDelimiters,
             "{",
             "}",
             "//",
             '\0',
             '\0',
             '\'',
             true,
             {"and",    "array",     "begin",   "case",   "const",    "div",  "do",     "downto",
              "else",   "end",       "file",    "for",    "function", "goto", "if",     "implementation",
              "in",     "interface", "label",   "mod",    "nil",      "not",  "of",     "or",
              "packed", "procedure", "program", "record", "repeat",   "set",  "string", "then",
              "to",     "type",      "unit",    "until",  "uses",     "var",  "while",  "with"},
             "BEGIN {c} x:='a'; END",
             {K::Keyword, K::Spaces, K::BlockComment, K::Spaces, K::Word, K::Symbols, K::String, K::Symbols,
              K::Spaces, K::Keyword}});
        return languages;
    }();
    return table;
}

ExtensionProfile build(const ShippedLanguage& language) {
    ExtensionProfile profile(language.keywords.empty() ? BuiltInKeywords::Yes : BuiltInKeywords::No);
    profile.setExtension(language.extension);
    profile.setDescription(language.description);
    profile.setDelimiters(language.delimiters);
    profile.setComment(CommentMarker::Start, language.commentStart);
    profile.setComment(CommentMarker::End, language.commentEnd);
    profile.setComment(CommentMarker::Line, language.lineComment);
    profile.setSpecial(SpecialChar::Literal, language.literal);
    profile.setSpecial(SpecialChar::Preprocessor, language.preprocessor);
    profile.setSpecial(SpecialChar::String, language.string);
    profile.setIgnoreCase(language.ignoreCase);
    if (!language.keywords.empty()) {
        KeywordList list;
        for (const auto word : language.keywords) {
            list.push_back(KeywordEntry::make(word));
        }
        profile.setKeywords(std::move(list));
    }
    return profile;
}

std::filesystem::path shareDirectory() {
    return std::filesystem::path(VEXA_SOURCE_DIR) / "share" / "vConfig";
}

std::vector<K> kindsOf(const ExtensionProfile& profile, std::string_view line) {
    std::vector<K> kinds;
    for (std::size_t pos = 0;;) {
        const Token token = scanToken(profile, line, pos);
        if (token.kind == K::EndOfLine) {
            break;
        }
        kinds.push_back(token.kind);
        pos = token.offset + token.length;
    }
    return kinds;
}

class ShippedProfile : public ::testing::TestWithParam<ShippedLanguage> {};

TEST_P(ShippedProfile, FileMatchesTableAndWorks) {
    test::TempHome home;
    const ShippedLanguage& language = GetParam();
    ExtensionProfile profile = build(language);
    const std::string shipped = profileFilePath(shareDirectory().string(), language.extension);
    if (std::getenv("VEXA_WRITE_SHIPPED_PROFILES") != nullptr) {
        ASSERT_EQ(profile.save(shipped), ProfileFileStatus::Ok);
    }
    const std::string generated = home.file("generated.PRF");
    ASSERT_EQ(profile.save(generated), ProfileFileStatus::Ok);
    ASSERT_TRUE(std::filesystem::exists(shipped)) << shipped;
    EXPECT_EQ(test::readFileBytes(shipped), test::readFileBytes(generated)) << "regenerate " << shipped;

    ExtensionProfile loaded;
    ASSERT_EQ(loaded.load(shipped), ProfileFileStatus::Ok);
    EXPECT_EQ(loaded.extension(), language.extension);
    EXPECT_EQ(kindsOf(loaded, language.sample), language.sampleKinds) << language.sample;

    // The shipped settings pass the checks of the edit dialog unchanged.
    HeadlessFrame frame;
    EditExtensionDialog dialog(loaded, ExtensionDialogMode::Edit, frame, home.path().string());
    EXPECT_TRUE(dialog.confirm()) << frame.lastStatus();
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedProfile, ::testing::ValuesIn(shippedLanguages()),
                         [](const auto& info) { return std::string(info.param.extension); });

TEST(ShippedProfiles, EveryProfileFileComesFromTheTable) {
    std::set<std::string> expected;
    for (const auto& language : shippedLanguages()) {
        expected.insert(std::filesystem::path(profileFilePath("", language.extension)).filename().string());
    }
    std::set<std::string> present;
    for (const auto& item : std::filesystem::directory_iterator(shareDirectory())) {
        const std::string name = item.path().filename().string();
        if (name.ends_with(".PRF")) {
            present.insert(name);
        }
    }
    EXPECT_EQ(present, expected);
}

} // namespace
} // namespace vexa::syntax

namespace vexa::syntax {
namespace {

TEST(ShippedProfiles, CarryTheKeywordsOfTodaysLanguages) {
    HeadlessFrame frame;
    SyntaxSettings settings(shareDirectory().string(), frame);
    const struct {
        const char* extension;
        std::vector<std::string_view> words;
    } cases[] = {
        {"CPP",
         {"constexpr", "nullptr", "override", "noexcept", "concept", "co_await", "requires", "char8_t",
          "reinterpret_cast"}},
        {"HPP", {"constexpr", "nullptr", "static_assert", "thread_local"}},
        {"H", {"nullptr", "constexpr"}},
        {"PY", {"async", "await", "nonlocal", "match", "case"}},
    };
    for (const auto& c : cases) {
        const auto profile = settings.lookup(c.extension);
        for (const auto word : c.words) {
            const KeywordEntry probe = KeywordEntry::make(word);
            const bool found = std::any_of(profile->keywords().begin(), profile->keywords().end(),
                                           [&](const KeywordEntry& entry) {
                                               return compareEntries(probe, entry, CaseMode::Sensitive) == 0;
                                           });
            EXPECT_TRUE(found) << c.extension << " lacks " << word;
        }
    }
}

TEST(ShippedProfiles, LookupsByFileNameFindThem) {
    test::TempHome home;
    HeadlessFrame frame;
    SyntaxSettings settings(shareDirectory().string(), frame);
    const struct {
        const char* file;
        const char* extension; // nullptr: the default profile
    } cases[] = {{"main.c", "C"},     {"widget.cpp", "CPP"},  {"Main.java", "JAV"},
                 {"setup.py", "PY"},  {"build.sh", "SH"},     {"rules.mk", "MK"},
                 {"unit.pas", "PAS"}, {"notes.txt", nullptr}, {"Makefile", nullptr}};
    for (const auto& c : cases) {
        const auto profile = settings.profileForFile(c.file);
        if (c.extension == nullptr) {
            EXPECT_EQ(profile, settings.defaultProfile()) << c.file;
        } else {
            EXPECT_EQ(profile->extension(), c.extension) << c.file;
            EXPECT_FALSE(profile->keywords().empty()) << c.file;
        }
    }
    EXPECT_TRUE(frame.events().empty());
    EXPECT_EQ(settings.lookup("c")->keywords().size(), 55u);
}

} // namespace
} // namespace vexa::syntax
