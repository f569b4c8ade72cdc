// The colour table of syntax colouring: the sixteen-colour palette, the ten slots and the schemes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "syntax/ColourSlot.h"

namespace vexa {
class SettingsFile;
class SettingsText;
} // namespace vexa

namespace vexa::syntax {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PaletteColour {
    std::string_view name;
    Rgb rgb;
};

inline constexpr std::size_t kPaletteSize = 16;

inline constexpr std::array<PaletteColour, kPaletteSize> kPalette = {{
    {"White", {255, 255, 255}},
    {"Gray", {192, 192, 192}},
    {"Red", {255, 0, 0}},
    {"Yellow", {255, 255, 0}},
    {"Green", {0, 255, 0}},
    {"Cyan", {0, 255, 255}},
    {"Blue", {0, 0, 255}},
    {"Purple", {255, 0, 255}},
    {"Black", {0, 0, 0}},
    {"Dark Gray", {128, 128, 128}},
    {"Dark Red", {128, 0, 0}},
    {"Dark Yellow", {128, 128, 0}},
    {"Dark Green", {0, 128, 0}},
    {"Dark Cyan", {0, 128, 128}},
    {"Dark Blue", {0, 0, 128}},
    {"Dark Purple", {128, 0, 128}},
}};

// The flag that makes a palette index a palette-relative colour value for the drawing layer.
inline constexpr uint32_t kPaletteIndexFlag = 0x01000000;

inline constexpr std::string_view kColourSection = "Color Table";

struct SlotInfo {
    std::string_view groupName; // as listed in the "Color Options" dialog
    std::string_view key;       // the key in section "Color Table"
    uint8_t defaultIndex;
};

// Indexed by ColourSlot.
inline constexpr std::array<SlotInfo, kColourSlotCount> kSlotInfo = {{
    {"Background", "Background", 14},
    {"Comments", "Comment", 1},
    {"Default Text", "Default", 3},
    {"Keywords", "Keyword", 0},
    {"Marking background", "Markblock", 13},
    {"Marking text", "Marktext", 8},
    {"Numbers", "Number", 7},
    {"Preprocessors", "Preproc", 4},
    {"Strings", "String", 5},
    {"Symbols", "Symbol", 0},
}};

// The order in which the slots are written back to the settings file.
inline constexpr std::array<ColourSlot, kColourSlotCount> kSaveOrder = {
    ColourSlot::Symbol,   ColourSlot::String,    ColourSlot::Number,       ColourSlot::Comment,
    ColourSlot::Keyword,  ColourSlot::Default,   ColourSlot::Preprocessor, ColourSlot::MarkBackground,
    ColourSlot::MarkText, ColourSlot::Background};

using SlotIndices = std::array<uint8_t, kColourSlotCount>;

struct ColourScheme {
    std::string_view name;
    SlotIndices indices; // by slot
};

// The preset schemes in the order of the "Preset Colors" list; the sixth entry, "User Defined",
// stands for the current table and has no values of its own.
inline constexpr std::size_t kUserDefinedScheme = 5;
inline constexpr std::size_t kClassicScheme = 1;
inline constexpr std::array<ColourScheme, 5> kPresetSchemes = {{
    {"Black Vexa", {8, 0, 3, 7, 1, 14, 5, 1, 4, 5}},
    {"Classic Vexa", {14, 1, 3, 0, 13, 8, 7, 4, 5, 0}},
    {"Gray Vexa", {1, 12, 8, 10, 14, 0, 7, 15, 6, 14}},
    {"Monochrome Vexa", {0, 8, 8, 8, 8, 0, 8, 8, 8, 8}},
    {"Standard Vexa", {0, 12, 8, 2, 8, 0, 7, 6, 13, 9}},
}};
inline constexpr std::string_view kUserDefinedName = "User Defined";

// The ten palette indices of a preset scheme; any number that names no preset gives the
// classic scheme.
SlotIndices presetScheme(std::size_t scheme);

class ColourTable {
public:
    // The defaults, which are the classic scheme.
    ColourTable();

    uint8_t index(ColourSlot slot) const { return m_indices[static_cast<std::size_t>(slot)]; }
    Rgb colour(ColourSlot slot) const { return kPalette[index(slot)].rgb; }
    // The palette-relative value the drawing layer is given for a slot.
    uint32_t paletteValue(ColourSlot slot) const { return kPaletteIndexFlag | index(slot); }
    const SlotIndices& indices() const { return m_indices; }

    // An index outside the palette is refused (false, nothing changed).
    bool setIndex(ColourSlot slot, int paletteIndex);

    // Reads section "Color Table"; a missing key keeps its default, and so does a value that
    // names no palette colour.
    void load(const SettingsText& text);
    void load(const SettingsFile& file);
    // Writes the ten keys as decimal numbers in the save order. False when the text refused a key.
    [[nodiscard]] bool save(SettingsText& text) const;
    [[nodiscard]] bool save(SettingsFile& file) const;

private:
    SlotIndices m_indices{};
};

} // namespace vexa::syntax
