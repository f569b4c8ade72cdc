// Reading blank-separated words and decimal numbers from a line, as the C library's scanning does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// Each read skips leading white space first. A read that finds nothing fitting gives nothing
// and leaves the position where the white space ended.
class TextScan {
public:
    explicit TextScan(std::string_view text) : m_text(text) {}

    // The characters up to the next white space; nothing at the end of the text.
    std::optional<std::string> word();

    // A decimal number with an optional sign, kept in 16 bits as a short conversion keeps it
    // (larger values wrap); nothing when no digit follows.
    std::optional<int16_t> shortNumber();

    bool atEnd();

private:
    void skipSpace();

    std::string_view m_text;
    std::size_t m_position = 0;
};

} // namespace vexa
