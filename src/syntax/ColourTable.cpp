// Reading, writing and changing the colour table.
#include "syntax/ColourTable.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"

namespace vexa::syntax {

SlotIndices presetScheme(std::size_t scheme) {
    if (scheme >= kPresetSchemes.size()) {
        scheme = kClassicScheme;
    }
    return kPresetSchemes[scheme].indices;
}

ColourTable::ColourTable() {
    for (std::size_t slot = 0; slot < kColourSlotCount; ++slot) {
        m_indices[slot] = kSlotInfo[slot].defaultIndex;
    }
}

bool ColourTable::setIndex(ColourSlot slot, int paletteIndex) {
    if (paletteIndex < 0 || paletteIndex >= static_cast<int>(kPaletteSize)) {
        return false;
    }
    m_indices[static_cast<std::size_t>(slot)] = static_cast<uint8_t>(paletteIndex);
    return true;
}

void ColourTable::load(const SettingsText& text) {
    for (std::size_t slot = 0; slot < kColourSlotCount; ++slot) {
        const SlotInfo& info = kSlotInfo[slot];
        const int value = text.getInteger(kColourSection, info.key, info.defaultIndex);
        if (!setIndex(static_cast<ColourSlot>(slot), value)) {
            m_indices[slot] = info.defaultIndex;
        }
    }
}

void ColourTable::load(const SettingsFile& file) {
    load(file.read());
}

bool ColourTable::save(SettingsText& text) const {
    bool ok = true;
    for (const ColourSlot slot : kSaveOrder) {
        ok =
            text.putInteger(kColourSection, kSlotInfo[static_cast<std::size_t>(slot)].key, index(slot)) && ok;
    }
    return ok;
}

bool ColourTable::save(SettingsFile& file) const {
    return file.update([this](SettingsText& text) { return save(text); });
}

} // namespace vexa::syntax
