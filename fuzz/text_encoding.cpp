// Fuzzing the encoding functions with arbitrary bytes: character steps, cell columns, detection in
// pieces and the conversions.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/DocLine.h"
#include "text/TextEncoding.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

// The first byte chooses the encoding, the tab size and where the bytes are cut for the streamed
// check; the rest is a line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t choice = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto encoding = (choice & 1) != 0 ? vexa::TextEncoding::Utf8 : vexa::TextEncoding::Windows1252;
    const int length = static_cast<int>(bytes.size());

    // Steps always move, stay on character starts and walk the line in both directions alike.
    int steps = 0;
    for (int at = 0; at < length;) {
        check(vexa::text::characterStart(bytes, at, encoding) == at);
        const int next = vexa::text::nextCharacter(bytes, at, encoding);
        check(next > at && next <= length);
        check(vexa::text::previousCharacter(bytes, next, encoding) == at);
        at = next;
        ++steps;
    }
    check(steps <= length);

    // Columns and offsets: every offset maps to the column of its character's start, and that
    // column maps back to the start.
    const vexa::DocLine line(bytes);
    const vexa::LineLayout layout{1 + (choice >> 4), encoding};
    int previousColumn = -1;
    for (int offset = 0; offset <= length; ++offset) {
        const int start = vexa::text::characterStart(bytes, offset, encoding);
        const int column = line.columnOfOffset(offset, layout);
        check(column == line.columnOfOffset(start, layout));
        check(column >= previousColumn);
        previousColumn = column;
        if (offset < length) {
            check(line.offsetOfColumn(column, layout) == start);
        }
    }
    check(line.width(layout) == line.columnOfOffset(length, layout));

    // Checked in three pieces the bytes give the answer of one whole check.
    const std::size_t first = bytes.size() * ((choice >> 1) & 7) / 8;
    const std::size_t second = first + (bytes.size() - first) / 2;
    vexa::text::Utf8Stream stream;
    stream.add(bytes.substr(0, first));
    stream.add(bytes.substr(first, second - first));
    stream.add(bytes.substr(second));
    const vexa::text::Utf8Check whole = vexa::text::checkUtf8(bytes);
    check(stream.result().valid == whole.valid);
    check(!whole.valid || stream.result().multiByte == whole.multiByte);

    // Windows-1252 text survives the trip through UTF-8; valid UTF-8 is copied unchanged.
    const std::string utf8 = vexa::text::toUtf8(bytes, vexa::TextEncoding::Windows1252);
    check(vexa::text::checkUtf8(utf8).valid);
    check(vexa::text::fromUtf8(utf8, vexa::TextEncoding::Windows1252) == std::string(bytes));
    if (whole.valid) {
        check(vexa::text::toUtf8(bytes, vexa::TextEncoding::Utf8) == bytes);
    }
    check(vexa::text::checkUtf8(vexa::text::externalToUtf8(bytes)).valid);
    return 0;
}
