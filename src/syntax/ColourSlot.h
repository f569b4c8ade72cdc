// The ten colour slots of syntax colouring; the numbers are the order of the colour dialog.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexa::syntax {

enum class ColourSlot : uint8_t {
    Background = 0,
    Comment = 1,
    Default = 2,
    Keyword = 3,
    MarkBackground = 4,
    MarkText = 5,
    Number = 6,
    Preprocessor = 7,
    String = 8,
    Symbol = 9,
};

inline constexpr std::size_t kColourSlotCount = 10;

} // namespace vexa::syntax
