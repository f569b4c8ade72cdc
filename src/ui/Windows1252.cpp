// The document's bytes as Unicode text and back.
#include "ui/Windows1252.h"

#include <array>

namespace vexa::ui {
namespace {

// 0x80..0x9F; the rest of the set agrees with Latin-1.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar windows1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return QChar(kHighControls[byte - 0x80]);
    }
    return QChar(static_cast<char16_t>(byte));
}

QString fromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        text.append(windows1252Char(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string toWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes.push_back(static_cast<char>(unit));
            continue;
        }
        char found = '?';
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == unit) {
                found = static_cast<char>(0x80 + i);
                break;
            }
        }
        bytes.push_back(found);
    }
    return bytes;
}

} // namespace vexa::ui
