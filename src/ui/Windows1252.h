// The document's bytes as Unicode text and back: the ANSI character set the panes show.
#pragma once

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

namespace vexa::ui {

// The character a byte stands for; the five unassigned bytes stand for themselves.
QChar windows1252Char(unsigned char byte);

QString fromWindows1252(std::string_view bytes);

// Characters outside the set become '?'.
std::string toWindows1252(const QString& text);

} // namespace vexa::ui
