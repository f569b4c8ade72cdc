// Word and number reading for the keyboard's text files.
#include "keyboard/TextScan.h"

namespace vexa {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void TextScan::skipSpace() {
    while (m_position < m_text.size() && isSpace(m_text[m_position])) {
        ++m_position;
    }
}

bool TextScan::atEnd() {
    skipSpace();
    return m_position >= m_text.size();
}

std::optional<std::string> TextScan::word() {
    skipSpace();
    const std::size_t start = m_position;
    while (m_position < m_text.size() && !isSpace(m_text[m_position])) {
        ++m_position;
    }
    if (m_position == start) {
        return std::nullopt;
    }
    return std::string(m_text.substr(start, m_position - start));
}

std::optional<int16_t> TextScan::shortNumber() {
    skipSpace();
    std::size_t at = m_position;
    bool negative = false;
    if (at < m_text.size() && (m_text[at] == '+' || m_text[at] == '-')) {
        negative = m_text[at] == '-';
        ++at;
    }
    if (at >= m_text.size() || !isDigit(m_text[at])) {
        return std::nullopt;
    }
    // Only the low 16 bits survive, so the arithmetic is done modulo 2^16 and never overflows.
    uint16_t value = 0;
    while (at < m_text.size() && isDigit(m_text[at])) {
        value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(m_text[at] - '0'));
        ++at;
    }
    m_position = at;
    if (negative) {
        value = static_cast<uint16_t>(0u - value);
    }
    return static_cast<int16_t>(value);
}

} // namespace vexa
