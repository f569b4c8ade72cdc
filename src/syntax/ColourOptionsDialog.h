// The model of the "Color Options" dialog: preset schemes, colour groups and a working copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "syntax/ColourTable.h"

namespace vexa::syntax {

// The Qt dialog shows the three lists and forwards selections here; nothing reaches the colour
// table before Update.
class ColourOptionsDialog {
public:
    explicit ColourOptionsDialog(ColourTable& table);

    // The six scheme names, the ten group names and the sixteen colour names, in list order.
    static constexpr std::size_t schemeCount() { return kPresetSchemes.size() + 1; }
    static std::string_view schemeName(std::size_t scheme);
    static std::string_view groupName(std::size_t group) { return kSlotInfo.at(group).groupName; }
    static std::string_view colourName(std::size_t colour) { return kPalette.at(colour).name; }

    std::size_t selectedScheme() const { return m_scheme; }
    std::size_t selectedGroup() const { return m_group; }
    // The colour list's selection: the working colour of the selected group.
    std::size_t selectedColour() const { return m_working[m_group]; }
    const SlotIndices& working() const { return m_working; }

    // Fills the working copy from a preset (the current table for "User Defined", the classic
    // scheme for any other number) and selects the first group.
    void selectScheme(std::size_t scheme);
    void selectGroup(std::size_t group);
    // Stores the colour for the selected group; a number outside the palette is ignored.
    void selectColour(std::size_t colour);

    // Sets all ten slots from the working copy, the first slot first, and closes.
    void update();
    void cancel() { m_closed = true; }
    bool isClosed() const { return m_closed; }

private:
    ColourTable& m_table;
    SlotIndices m_working{};
    std::size_t m_scheme = kUserDefinedScheme;
    std::size_t m_group = 0;
    bool m_closed = false;
};

} // namespace vexa::syntax
