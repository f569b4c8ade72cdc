// Typing text of any characters into a widget as real key presses.
#pragma once

#include <QString>
#include <QWidget>
#include <QtTest>

namespace vexa::test {

// One key press a character, carrying that character as its text (keyClicks takes ASCII only).
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

} // namespace vexa::test
