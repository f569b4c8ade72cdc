// The document's bytes as Unicode text and back: the character sets the panes show.
#pragma once

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

#include "text/TextEncoding.h"

namespace vexa::ui {

// The character a byte stands for; the five unassigned bytes stand for themselves.
QChar windows1252Char(unsigned char byte);

QString fromWindows1252(std::string_view bytes);

// Characters outside the set become '?'.
std::string toWindows1252(const QString& text);

// A document's bytes in its encoding: Windows-1252 one character a byte; UTF-8 one character a
// sequence, each byte that is no part of a valid sequence one replacement character.
QString fromDocumentText(std::string_view bytes, TextEncoding encoding);

// Texts that are not a document's bytes (find texts, template and dictionary entries, the
// clipboard, script input) cross as UTF-8.
QString fromUtf8Text(std::string_view utf8);
std::string toUtf8Text(const QString& text);
// Bytes whose encoding is not known (messages, titles, file names, stored entries of older files,
// script strings): UTF-8 when they are valid UTF-8, otherwise the Windows-1252 characters.
QString fromExternalText(std::string_view bytes);

// Appends one character (a surrogate pair beyond the basic plane).
void appendCharacter(QString& text, char32_t character);

} // namespace vexa::ui
