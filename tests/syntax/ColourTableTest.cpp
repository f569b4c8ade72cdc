// The colour table: defaults, settings keys and their order, schemes and the "Color Options" model.
#include "syntax/ColourTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "support/TempHome.h"
#include "syntax/ColourOptionsDialog.h"

namespace vexa::syntax {
namespace {

const SlotIndices kClassic = {14, 1, 3, 0, 13, 8, 7, 4, 5, 0};
const SlotIndices kMonochrome = {0, 8, 8, 8, 8, 0, 8, 8, 8, 8};

TEST(ColourTableTest, WithoutSectionTheClassicColours) {
    test::TempHome home;
    test::writeFileBytes(home.file("vexa.INI"), "[Editor Options]\nTabSize=4\n");
    SettingsFile file(home.file("vexa.INI"));
    ColourTable table;
    table.load(file);
    EXPECT_EQ(table.indices(), kClassic);
    EXPECT_EQ(table.colour(ColourSlot::Background), (Rgb{0, 0, 128}));
    EXPECT_EQ(table.colour(ColourSlot::Default), (Rgb{255, 255, 0}));
    EXPECT_EQ(table.paletteValue(ColourSlot::MarkBackground), 0x0100000Du);
}

TEST(ColourTableTest, ReadsEachKeyAndKeepsDefaultsForBadValues) {
    const SettingsText text = SettingsText::parse("[Color Table]\nBackground=8\nComment=12\nkeyword=2\n"
                                                  "Number=16\nString=-1\nSymbol=abc\n");
    ColourTable table;
    table.load(text);
    EXPECT_EQ(table.index(ColourSlot::Background), 8);
    EXPECT_EQ(table.index(ColourSlot::Comment), 12);
    EXPECT_EQ(table.index(ColourSlot::Keyword), 2);
    EXPECT_EQ(table.index(ColourSlot::Number), 7);  // 16 names no palette colour
    EXPECT_EQ(table.index(ColourSlot::String), 5);  // nor does -1
    EXPECT_EQ(table.index(ColourSlot::Symbol), 0);  // no number: 0
    EXPECT_EQ(table.index(ColourSlot::Default), 3); // absent
}

TEST(ColourTableTest, SavesTenDecimalKeysInOrder) {
    test::TempHome home;
    SettingsFile file(home.file("vexa.INI"));
    ColourTable table;
    ASSERT_TRUE(table.setIndex(ColourSlot::Symbol, 15));
    ASSERT_TRUE(table.save(file));
    EXPECT_EQ(test::readFileBytes(home.file("vexa.INI")),
              "[Color Table]\nSymbol=15\nString=5\nNumber=7\nComment=1\nKeyword=0\nDefault=3\nPreproc=4\n"
              "Markblock=13\nMarktext=8\nBackground=14\n");
    ColourTable reread;
    reread.load(file);
    EXPECT_EQ(reread.indices(), table.indices());
}

TEST(ColourTableTest, SetIndexRefusesValuesOutsideThePalette) {
    ColourTable table;
    EXPECT_FALSE(table.setIndex(ColourSlot::Keyword, 16));
    EXPECT_FALSE(table.setIndex(ColourSlot::Keyword, -1));
    EXPECT_EQ(table.index(ColourSlot::Keyword), 0);
    EXPECT_TRUE(table.setIndex(ColourSlot::Keyword, 15));
    EXPECT_EQ(table.colour(ColourSlot::Keyword), (Rgb{128, 0, 128}));
}

TEST(ColourSchemes, PresetsAndFallback) {
    EXPECT_EQ(presetScheme(1), kClassic);
    EXPECT_EQ(presetScheme(3), kMonochrome);
    EXPECT_EQ(presetScheme(0), (SlotIndices{8, 0, 3, 7, 1, 14, 5, 1, 4, 5}));
    EXPECT_EQ(presetScheme(2), (SlotIndices{1, 12, 8, 10, 14, 0, 7, 15, 6, 14}));
    EXPECT_EQ(presetScheme(4), (SlotIndices{0, 12, 8, 2, 8, 0, 7, 6, 13, 9}));
    EXPECT_EQ(presetScheme(5), kClassic);
    EXPECT_EQ(presetScheme(99), kClassic);
    EXPECT_EQ(ColourTable().indices(), kClassic);
}

TEST(ColourOptionsDialogTest, OpensOnUserDefinedWithFirstGroup) {
    ColourTable table;
    ASSERT_TRUE(table.setIndex(ColourSlot::Background, 8));
    ColourOptionsDialog dialog(table);
    ASSERT_EQ(ColourOptionsDialog::schemeCount(), 6u);
    EXPECT_EQ(ColourOptionsDialog::schemeName(0), "Black Vexa");
    EXPECT_EQ(ColourOptionsDialog::schemeName(5), "User Defined");
    EXPECT_EQ(ColourOptionsDialog::groupName(4), "Marking background");
    EXPECT_EQ(ColourOptionsDialog::colourName(9), "Dark Gray");
    EXPECT_EQ(dialog.selectedScheme(), 5u);
    EXPECT_EQ(dialog.selectedGroup(), 0u);
    EXPECT_EQ(dialog.selectedColour(), 8u);
}

TEST(ColourOptionsDialogTest, MonochromeUpdateThenReopen) {
    ColourTable table;
    {
        ColourOptionsDialog dialog(table);
        dialog.selectGroup(3);
        dialog.selectScheme(3);
        EXPECT_EQ(dialog.selectedGroup(), 0u);
        EXPECT_EQ(dialog.working(), kMonochrome);
        EXPECT_EQ(table.indices(), kClassic); // nothing changes before Update
        dialog.update();
        EXPECT_TRUE(dialog.isClosed());
    }
    EXPECT_EQ(table.indices(), kMonochrome);
    ColourOptionsDialog reopened(table);
    EXPECT_EQ(reopened.selectedScheme(), kUserDefinedScheme);
    EXPECT_EQ(reopened.working(), kMonochrome);
}

TEST(ColourOptionsDialogTest, GroupAndColourSelectionEditTheWorkingCopy) {
    ColourTable table;
    ColourOptionsDialog dialog(table);
    dialog.selectGroup(6);
    EXPECT_EQ(dialog.selectedColour(), 7u);
    dialog.selectColour(2);
    dialog.selectColour(16); // no such colour
    dialog.selectGroup(1);
    EXPECT_EQ(dialog.selectedColour(), 1u);
    dialog.selectGroup(6);
    EXPECT_EQ(dialog.selectedColour(), 2u);
    dialog.cancel();
    EXPECT_EQ(table.index(ColourSlot::Number), 7); // Cancel leaves the table as it was
    ColourOptionsDialog again(table);
    again.selectGroup(6);
    again.selectColour(2);
    again.selectScheme(kUserDefinedScheme); // back to the current table
    EXPECT_EQ(again.working(), kClassic);
    again.selectScheme(42);
    EXPECT_EQ(again.selectedScheme(), kClassicScheme);
    again.selectGroup(9);
    again.selectColour(12);
    again.update();
    EXPECT_EQ(table.index(ColourSlot::Symbol), 12);
}

} // namespace
} // namespace vexa::syntax
