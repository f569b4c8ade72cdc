// The Qt-backed ports: the clipboard's private mark-type format, the key states fed from key
// events (and the one a long search polls), and the ANSI character set the panes show bytes in.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include "ui/QtClipboard.h"
#include "ui/QtKeyState.h"
#include "ui/SearchKeyState.h"
#include "ui/Windows1252.h"

using vexa::ui::QtClipboard;
using vexa::ui::QtKeyState;
using vexa::ui::SearchKeyState;

class PortsTest : public QObject {
    Q_OBJECT

private:
    static void key(QtKeyState& state, QEvent::Type type, int qtKey, bool autoRepeat = false) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, QString(), autoRepeat);
        state.keyEvent(event);
    }

private slots:
    void clipboardCarriesTheMarkType_data() {
        QTest::addColumn<int>("markType");
        QTest::newRow("line") << 1;
        QTest::newRow("column") << 3;
        QTest::newRow("shift stream") << 5;
        QTest::newRow("high bytes") << 0x01020304;
    }

    void clipboardCarriesTheMarkType() {
        QFETCH(int, markType);
        QtClipboard clipboard;
        QVERIFY(clipboard.put("a\nb", markType));
        const QByteArray raw =
            QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(vexa::ui::kPrivateMimeType));
        QCOMPARE(raw.size(), 4);
        QCOMPARE(uint8_t(raw[0]), uint8_t(markType & 0xFF));
        QCOMPARE(uint8_t(raw[3]), uint8_t((markType >> 24) & 0xFF));
        auto content = clipboard.get();
        QVERIFY(content.has_value());
        QCOMPARE(content->text, std::string("a\nb"));
        QCOMPARE(content->privateMarkType, std::optional<int32_t>(markType));
    }

    void plainTextUsesThePlatformLineEnd() {
        QtClipboard clipboard;
        QVERIFY(clipboard.put("one\r\ntwo\r\n", 1));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one\ntwo\n"));
        auto content = clipboard.get();
        QVERIFY(content.has_value());
        QCOMPARE(content->privateMarkType, std::optional<int32_t>(1));
    }

    void foreignTextHasNoMarkType() {
        QGuiApplication::clipboard()->setText(QStringLiteral("caf\u00e9 \u20ac5"));
        auto content = QtClipboard().get();
        QVERIFY(content.has_value());
        QCOMPARE(content->text, std::string("caf\xC3\xA9 \xE2\x82\xAC"
                                            "5")); // the port carries UTF-8
        QVERIFY(!content->privateMarkType.has_value());
        QGuiApplication::clipboard()->clear();
        QVERIFY(!QtClipboard().get().has_value());
    }

    void escapePollingSeesPressesBetweenPolls() {
        QtKeyState state;
        QVERIFY(!state.wasPressed(vexa::platform::kKeyEscape));
        key(state, QEvent::KeyPress, Qt::Key_Escape);
        key(state, QEvent::KeyRelease, Qt::Key_Escape);
        QVERIFY(!state.isDown(vexa::platform::kKeyEscape));
        QVERIFY(state.wasPressed(vexa::platform::kKeyEscape));
        QVERIFY2(!state.wasPressed(vexa::platform::kKeyEscape), "asking forgets the press");
        key(state, QEvent::KeyPress, Qt::Key_Escape);
        QVERIFY(state.isDown(vexa::platform::kKeyEscape));
        QVERIFY(state.wasPressed(vexa::platform::kKeyEscape));
        QVERIFY2(state.wasPressed(vexa::platform::kKeyEscape), "a held key stays pressed");
        key(state, QEvent::KeyRelease, Qt::Key_Escape, true);
        QVERIFY2(state.isDown(vexa::platform::kKeyEscape), "an auto-repeat release is no release");
    }

    // Escape pressed while a long search runs is seen when the search polls; the other input
    // waiting then is kept from the widgets, and a press from before the search does not count.
    void searchPollingSeesEscapeAndHoldsInputBack() {
        QtKeyState state;
        SearchKeyState search(state);
        key(state, QEvent::KeyPress, Qt::Key_Escape);
        key(state, QEvent::KeyRelease, Qt::Key_Escape);
        QVERIFY2(!search.wasPressed(vexa::platform::kKeyEscape), "an earlier press is not for the search");

        QLineEdit edit;
        edit.show();
        QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
        QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
        QVERIFY(search.wasPressed(vexa::platform::kKeyEscape));
        QCOMPARE(edit.text(), QString());
        QVERIFY2(!state.isDown(vexa::platform::kKeyEscape), "the key state still follows the keys");
        QVERIFY2(!search.wasPressed(vexa::platform::kKeyEscape), "each press is seen once");

        // Afterwards input reaches the widgets again.
        QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, "y"));
        QCoreApplication::processEvents();
        QCOMPARE(edit.text(), QStringLiteral("y"));
    }

    void lockKeysToggleOnPresses() {
        QtKeyState state;
        QVERIFY(!state.isToggled(vexa::platform::kKeyCapsLock));
        key(state, QEvent::KeyPress, Qt::Key_CapsLock);
        key(state, QEvent::KeyPress, Qt::Key_CapsLock, true);
        key(state, QEvent::KeyRelease, Qt::Key_CapsLock);
        QVERIFY(state.isToggled(vexa::platform::kKeyCapsLock));
        key(state, QEvent::KeyPress, Qt::Key_CapsLock);
        QVERIFY(!state.isToggled(vexa::platform::kKeyCapsLock));
        state.setToggled(vexa::platform::kKeyNumLock, true);
        QVERIFY(state.isToggled(vexa::platform::kKeyNumLock));
        QVERIFY(!state.isToggled(vexa::platform::kKeyScrollLock));
    }

    void ansiSetRoundTrips() {
        std::string all;
        for (int byte = 1; byte < 256; ++byte) {
            all.push_back(static_cast<char>(byte));
        }
        const QString text = vexa::ui::fromWindows1252(all);
        QCOMPARE(text.size(), qsizetype(255));
        QCOMPARE(text[0x80 - 1], QChar(0x20AC));
        QCOMPARE(text[0x9F - 1], QChar(0x0178));
        QCOMPARE(text[0xE9 - 1], QChar(0x00E9));
        QCOMPARE(vexa::ui::toWindows1252(text), all);
        QCOMPARE(vexa::ui::toWindows1252(QStringLiteral("\u4e2d")), std::string("?"));
    }
};

QTEST_MAIN(PortsTest)
#include "PortsTest.moc"
