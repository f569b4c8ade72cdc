// The "Color Options" dialog model.
#include "syntax/ColourOptionsDialog.h"

namespace vexa::syntax {

ColourOptionsDialog::ColourOptionsDialog(ColourTable& table) : m_table(table), m_working(table.indices()) {}

std::string_view ColourOptionsDialog::schemeName(std::size_t scheme) {
    return scheme < kPresetSchemes.size() ? kPresetSchemes[scheme].name : kUserDefinedName;
}

void ColourOptionsDialog::selectScheme(std::size_t scheme) {
    m_scheme = scheme < schemeCount() ? scheme : kClassicScheme;
    m_working = m_scheme == kUserDefinedScheme ? m_table.indices() : presetScheme(m_scheme);
    m_group = 0;
}

void ColourOptionsDialog::selectGroup(std::size_t group) {
    if (group < kColourSlotCount) {
        m_group = group;
    }
}

void ColourOptionsDialog::selectColour(std::size_t colour) {
    if (colour < kPaletteSize) {
        m_working[m_group] = static_cast<uint8_t>(colour);
    }
}

void ColourOptionsDialog::update() {
    for (std::size_t slot = 0; slot < kColourSlotCount; ++slot) {
        m_table.setIndex(static_cast<ColourSlot>(slot), m_working[slot]);
    }
    m_closed = true;
}

} // namespace vexa::syntax
