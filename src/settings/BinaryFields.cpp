// Little-endian field transfer: every value is assembled from single bytes, never by casting.
#include "settings/BinaryFields.h"

#include <algorithm>
#include <cstring>

namespace vexa {
namespace {

template <typename Unsigned>
Unsigned decode(std::span<const char> bytes) {
    Unsigned value = 0;
    for (size_t i = 0; i < sizeof(Unsigned); ++i) {
        value |= static_cast<Unsigned>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
}

template <typename Unsigned>
void encode(std::span<char> bytes, Unsigned value) {
    for (size_t i = 0; i < sizeof(Unsigned); ++i) {
        bytes[i] = static_cast<char>(static_cast<unsigned char>((value >> (8 * i)) & 0xFFu));
    }
}

template <typename Unsigned>
void append(std::string& data, Unsigned value) {
    char buffer[sizeof(Unsigned)];
    encode<Unsigned>(buffer, value);
    data.append(buffer, sizeof buffer);
}

} // namespace

bool FieldReader::take(size_t count, std::span<const char>& out) {
    if (m_failed || count > m_bytes.size() - m_position) {
        m_failed = true;
        return false;
    }
    out = m_bytes.subspan(m_position, count);
    m_position += count;
    return true;
}

bool FieldReader::u8(uint8_t& value) {
    std::span<const char> field;
    if (!take(1, field)) {
        return false;
    }
    value = static_cast<uint8_t>(field[0]);
    return true;
}

bool FieldReader::u16(uint16_t& value) {
    std::span<const char> field;
    if (!take(2, field)) {
        return false;
    }
    value = decode<uint16_t>(field);
    return true;
}

bool FieldReader::i16(int16_t& value) {
    uint16_t raw = 0;
    if (!u16(raw)) {
        return false;
    }
    value = static_cast<int16_t>(raw);
    return true;
}

bool FieldReader::u32(uint32_t& value) {
    std::span<const char> field;
    if (!take(4, field)) {
        return false;
    }
    value = decode<uint32_t>(field);
    return true;
}

bool FieldReader::i32(int32_t& value) {
    uint32_t raw = 0;
    if (!u32(raw)) {
        return false;
    }
    value = static_cast<int32_t>(raw);
    return true;
}

bool FieldReader::fixedString(size_t width, std::string& text) {
    std::span<const char> field;
    if (!take(width, field)) {
        return false;
    }
    auto end = std::find(field.begin(), field.end(), '\0');
    text.assign(field.begin(), end);
    return true;
}

bool FieldReader::bytes(std::span<char> out) {
    std::span<const char> field;
    if (!take(out.size(), field)) {
        return false;
    }
    std::copy(field.begin(), field.end(), out.begin());
    return true;
}

bool FieldReader::skip(size_t count) {
    std::span<const char> field;
    return take(count, field);
}

void FieldWriter::u8(uint8_t value) {
    m_data.push_back(static_cast<char>(value));
}

void FieldWriter::u16(uint16_t value) {
    append<uint16_t>(m_data, value);
}

void FieldWriter::i16(int16_t value) {
    append<uint16_t>(m_data, static_cast<uint16_t>(value));
}

void FieldWriter::u32(uint32_t value) {
    append<uint32_t>(m_data, value);
}

void FieldWriter::i32(int32_t value) {
    append<uint32_t>(m_data, static_cast<uint32_t>(value));
}

void FieldWriter::fixedString(std::string_view text, size_t width) {
    if (width == 0) {
        return;
    }
    // Text after an embedded NUL could never be read back, so it is not written either.
    text = text.substr(0, std::min(text.find('\0'), width - 1));
    m_data.append(text);
    m_data.append(width - text.size(), '\0');
}

void FieldWriter::bytes(std::span<const char> data) {
    m_data.append(data.data(), data.size());
}

void FieldWriter::zeros(size_t count) {
    m_data.append(count, '\0');
}

uint16_t loadU16(std::span<const char> bytes, size_t offset) {
    return decode<uint16_t>(bytes.subspan(offset, 2));
}

uint32_t loadU32(std::span<const char> bytes, size_t offset) {
    return decode<uint32_t>(bytes.subspan(offset, 4));
}

int32_t loadI32(std::span<const char> bytes, size_t offset) {
    return static_cast<int32_t>(loadU32(bytes, offset));
}

void storeU16(std::span<char> bytes, size_t offset, uint16_t value) {
    encode<uint16_t>(bytes.subspan(offset, 2), value);
}

void storeU32(std::span<char> bytes, size_t offset, uint32_t value) {
    encode<uint32_t>(bytes.subspan(offset, 4), value);
}

void storeI32(std::span<char> bytes, size_t offset, int32_t value) {
    storeU32(bytes, offset, static_cast<uint32_t>(value));
}

} // namespace vexa
