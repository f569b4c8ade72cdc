// Manual page names, the plain text of formatted pages and the real manual program.
#include "platform/ManualPage.h"

#include <gtest/gtest.h>

#include "platform/Environment.h"

namespace vexa::platform {
namespace {

TEST(ManualPage, OnlyPlainNamesReachTheManualProgram) {
    struct Case {
        std::string_view name;
        bool plain;
    };
    const Case cases[] = {
        {"printf", true},
        {"std::vector", true},
        {"g++", true},
        {"X11.conf", true},
        {"", false},
        {"-P", false},
        {"a b", false},
        {"$(rm)", false},
        {"../../etc", false},
        {"a;b", false},
        {std::string_view("a\0b", 3), false},
        {std::string(101, 'a'), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isManualPageName(c.name), c.plain) << c.name;
    }
}

TEST(ManualPage, FormattingIsRemoved) {
    struct Case {
        std::string_view formatted;
        std::string_view plain;
    };
    const Case cases[] = {
        {"N\bNA\bAM\bME\bE\n", "NAME\n"},
        {"_\bf_\bi_\bl_\be", "file"},
        {"\x1b[1mbold\x1b[0m text", "bold text"},
        {"\bat start\n\bnext", "at start\nnext"},
        {"tab\there\r\n", "tab\there\n"},
        {"cut \x1b[", "cut "},
        {"lone \x1b", "lone "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plainManualText(c.formatted), c.plain);
    }
}

TEST(ManualPage, TheSystemManualFindsALibraryFunction) {
    if (!findOnPath("man")) {
        GTEST_SKIP() << "no manual program on this machine";
    }
    SystemManualPages pages;
    std::optional<ManualPage> page = pages.find("printf", "3 2");
    if (!page) {
        GTEST_SKIP() << "the library manual pages are not installed";
    }
    EXPECT_EQ(page->section, "3");
    EXPECT_NE(page->text.find("printf"), std::string::npos);
    EXPECT_EQ(page->text.find('\b'), std::string::npos);
    EXPECT_FALSE(pages.find("no_such_page_anywhere_x", "3 2").has_value());
    EXPECT_FALSE(pages.find("-H", "3").has_value());
}

} // namespace
} // namespace vexa::platform
