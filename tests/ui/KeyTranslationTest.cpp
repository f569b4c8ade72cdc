// The Qt key to virtual-key table: ranges, keypad, shifted punctuation and modifiers.
#include <QtTest>

#include "ui/KeyTranslation.h"

using vexa::ui::translateKey;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class KeyTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void translates_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("set");

        const Qt::KeyboardModifiers none;
        QTest::newRow("letter") << int(Qt::Key_Q) << none << 0x51 << 0;
        QTest::newRow("ctrl letter") << int(Qt::Key_K) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0x4B
                                     << 2;
        QTest::newRow("digit") << int(Qt::Key_7) << none << 0x37 << 0;
        QTest::newRow("keypad digit")
            << int(Qt::Key_7) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x67 << 0;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 0x70 << 0;
        QTest::newRow("F24") << int(Qt::Key_F24) << none << 0x87 << 0;
        QTest::newRow("alt shift F10")
            << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier) << 0x79 << 5;
        QTest::newRow("home") << int(Qt::Key_Home) << none << 0x24 << 0;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << none << 0x22 << 0;
        QTest::newRow("insert") << int(Qt::Key_Insert) << none << 0x2D << 0;
        QTest::newRow("enter on keypad")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x0D << 0;
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x6B
                                     << 0;
        QTest::newRow("keypad minus")
            << int(Qt::Key_Minus) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x6D << 0;
        QTest::newRow("main minus") << int(Qt::Key_Minus) << none << 0xBD << 0;
        QTest::newRow("shifted exclam")
            << int(Qt::Key_Exclam) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0x31 << 1;
        QTest::newRow("shifted paren")
            << int(Qt::Key_ParenRight) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0x30 << 1;
        QTest::newRow("shift tab") << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0x09
                                   << 1;
        QTest::newRow("brace") << int(Qt::Key_BraceRight) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0xDD
                               << 1;
        QTest::newRow("application key") << int(Qt::Key_Menu) << none << 0x5D << 0;
        QTest::newRow("left logo") << int(Qt::Key_Super_L) << none << 0x5B << 0;
        QTest::newRow("right logo") << int(Qt::Key_Super_R) << none << 0x5C << 0;
        QTest::newRow("alt gr") << int(Qt::Key_AltGr) << none << 0x12 << 0;
        QTest::newRow("keypad home without num lock")
            << int(Qt::Key_Home) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x24 << 0;
        QTest::newRow("keypad clear")
            << int(Qt::Key_Clear) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x0C << 0;
        QTest::newRow("keypad divide")
            << int(Qt::Key_Slash) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0x6F << 0;
        QTest::newRow("ctrl shift space")
            << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << 0x20
            << 3;
        QTest::newRow("ctrl alt") << int(Qt::Key_Delete)
                                  << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << 0x2E
                                  << 6;
    }

    void translates() {
        QFETCH(int, qtKey);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, code);
        QFETCH(int, set);
        auto key = translateKey(qtKey, modifiers);
        QVERIFY(key.has_value());
        QCOMPARE(int(key->code), code);
        QCOMPARE(int(key->modifiers), set);
    }

    void refusesUnbindableKeys() {
        QVERIFY(!translateKey(Qt::Key_VolumeUp, {}).has_value());
        QVERIFY(!translateKey(Qt::Key_Dead_Acute, {}).has_value());
        QVERIFY(!translateKey(Qt::Key_unknown, {}).has_value());
    }
};

QTEST_MAIN(KeyTranslationTest)
#include "KeyTranslationTest.moc"
