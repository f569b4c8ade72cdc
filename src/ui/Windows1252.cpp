// The document's bytes as Unicode text and back.
#include "ui/Windows1252.h"

#include <optional>

namespace vexa::ui {

QChar windows1252Char(unsigned char byte) {
    return QChar(static_cast<char16_t>(text::windows1252ToUnicode(byte)));
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
        // Each half of a surrogate pair has no byte either: such a character becomes "??".
        const std::optional<unsigned char> byte = text::unicodeToWindows1252(c.unicode());
        bytes.push_back(byte ? static_cast<char>(*byte) : '?');
    }
    return bytes;
}

void appendCharacter(QString& text, char32_t character) {
    if (QChar::requiresSurrogates(character)) {
        text.append(QChar(QChar::highSurrogate(character)));
        text.append(QChar(QChar::lowSurrogate(character)));
    } else {
        text.append(QChar(static_cast<char16_t>(character)));
    }
}

QString fromDocumentText(std::string_view bytes, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8) {
        return fromWindows1252(bytes);
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        const text::Decoded decoded = text::decodeUtf8(bytes, at);
        appendCharacter(text, decoded.character);
        at += static_cast<std::size_t>(decoded.length);
    }
    return text;
}

QString fromUtf8Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8Text(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromExternalText(std::string_view bytes) {
    return fromUtf8Text(text::externalToUtf8(bytes));
}

} // namespace vexa::ui
