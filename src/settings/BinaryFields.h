// Fixed-width little-endian fields of the binary configuration records, read and written one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vexa {

// Reads fields in order from a byte buffer. A read that would pass the end of the buffer fails,
// leaves its output untouched and makes every later read fail too, so a record can be read field
// by field and checked once at the end.
class FieldReader {
public:
    explicit FieldReader(std::span<const char> bytes) : m_bytes(bytes) {}

    bool u8(uint8_t& value);
    bool u16(uint16_t& value);
    bool i16(int16_t& value);
    bool u32(uint32_t& value);
    bool i32(int32_t& value);
    // A NUL-padded text field of the given width: the text up to the first NUL, or the whole
    // width when it holds none.
    bool fixedString(size_t width, std::string& text);
    // Raw bytes, exactly as many as the output holds.
    bool bytes(std::span<char> out);
    bool skip(size_t count);

    size_t position() const { return m_position; }
    size_t remaining() const { return m_failed ? 0 : m_bytes.size() - m_position; }
    bool failed() const { return m_failed; }

private:
    bool take(size_t count, std::span<const char>& out);

    std::span<const char> m_bytes;
    size_t m_position = 0;
    bool m_failed = false;
};

// Appends fields to a growing byte string.
class FieldWriter {
public:
    void u8(uint8_t value);
    void u16(uint16_t value);
    void i16(int16_t value);
    void u32(uint32_t value);
    void i32(int32_t value);
    // Writes at most width - 1 bytes of the text and fills the rest of the field with NULs, so a
    // reader that expects a terminated string always finds one.
    void fixedString(std::string_view text, size_t width);
    void bytes(std::span<const char> data);
    void zeros(size_t count);

    const std::string& data() const { return m_data; }
    size_t size() const { return m_data.size(); }
    std::string take() { return std::move(m_data); }

private:
    std::string m_data;
};

// Fields at absolute offsets, for patching a count after its records were written and for
// checking stored bytes. The caller guarantees offset + width <= size.
uint16_t loadU16(std::span<const char> bytes, size_t offset);
uint32_t loadU32(std::span<const char> bytes, size_t offset);
int32_t loadI32(std::span<const char> bytes, size_t offset);
void storeU16(std::span<char> bytes, size_t offset, uint16_t value);
void storeU32(std::span<char> bytes, size_t offset, uint32_t value);
void storeI32(std::span<char> bytes, size_t offset, int32_t value);

} // namespace vexa
