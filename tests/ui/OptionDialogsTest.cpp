// The option dialogs shown on their own: the labels they carry, and what OK does when the
// settings file cannot be written.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "frame/HeadlessFrame.h"
#include "keyboard/BindingEditor.h"
#include "keyboard/KeymapStore.h"
#include "keyboard/PrefixKeyList.h"
#include "settings/Directories.h"
#include "settings/Options.h"
#include "support/TempHome.h"
#include "syntax/ColourTable.h"
#include "ui/BindingEditorWindow.h"
#include "ui/ColourOptionsWindow.h"
#include "ui/EditorOptionsDialog.h"
#include "ui/FileFiltersDialog.h"
#include "ui/KeymapManagerWindow.h"

namespace {

QStringList labelsOf(const QWidget& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

QStringList checkBoxesOf(const QWidget& dialog) {
    QStringList texts;
    for (const QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        texts << box->text();
    }
    return texts;
}

} // namespace

class OptionDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<vexa::test::TempHome> m_home;
    std::unique_ptr<vexa::Directories> m_directories;
    std::unique_ptr<vexa::Options> m_options;

    // Presses OK while the settings file cannot be replaced (a directory stands in its place) and
    // returns the text of the message box shown, closing it.
    template <typename Dialog>
    QString confirmWithUnwritableSettings(Dialog& dialog) {
        std::filesystem::create_directories(m_directories->settingsFilePath());
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->windowTitle() + QStringLiteral(": ") + box->text();
                box->accept();
            }
        });
        dialog.confirm();
        return shown;
    }

private slots:
    void init() {
        m_home = std::make_unique<vexa::test::TempHome>();
        m_directories = std::make_unique<vexa::Directories>(vexa::Directories::resolveHome());
        QVERIFY(m_directories->create());
        m_options = std::make_unique<vexa::Options>(*m_directories);
    }

    void cleanup() {
        m_options.reset();
        m_directories.reset();
        m_home.reset();
    }

    void keymapManagerLabels() {
        vexa::HeadlessFrame frame;
        vexa::KeymapStore store(m_directories->path(vexa::DirectoryKind::Config), frame);
        vexa::PrefixKeyList prefixes;
        vexa::ui::KeymapManagerWindow window(*m_options, frame, store, prefixes, {}, {});
        const QStringList labels = labelsOf(window);
        QVERIFY2(labels.contains(QStringLiteral("Ne&w Keymap:")), qPrintable(labels.join(u'|')));
        QVERIFY2(labels.contains(QStringLiteral("Definded &Keymaps")), qPrintable(labels.join(u'|')));
        QVERIFY(labels.contains(QStringLiteral("Current Keymap:")));
    }

    void bindingEditorLabels() {
        vexa::HeadlessFrame frame;
        vexa::KeymapStore store(m_directories->path(vexa::DirectoryKind::Config), frame);
        vexa::PrefixKeyList prefixes;
        vexa::BindingEditor editor(vexa::Keymap(), "Mine", vexa::KeymapEditMode::New, vexa::StartsChanged::No,
                                   prefixes, store, frame);
        vexa::ui::BindingEditorWindow window(editor);
        const QStringList labels = labelsOf(window);
        for (const char* expected : {"Keyboard &Behaviour:", "&Prefix Key:", "&Key Code:", "&Extended Code:",
                                     "&Functions Available:"}) {
            QVERIFY2(labels.contains(QString::fromLatin1(expected)), expected);
        }
        const QStringList boxes = checkBoxesOf(window);
        for (const char* expected :
             {"Allow CUA marking", "Key press removes mark", "Cut/copy removes mark"}) {
            QVERIFY2(boxes.contains(QString::fromLatin1(expected)), expected);
        }
    }

    void colourOptionsLabel() {
        vexa::syntax::ColourTable table;
        vexa::ui::ColourOptionsWindow window(table);
        QVERIFY(labelsOf(window).contains(QStringLiteral("Preset Colors")));
    }

    void editorOptionsReportAnUnwritableSettingsFile() {
        vexa::ui::EditorOptionsDialog dialog(*m_options);
        dialog.numberFor("TabSize")->setValue(7);
        const QString shown = confirmWithUnwritableSettings(dialog);
        QCOMPARE(shown, QStringLiteral("Vexa Error: The settings file '%1' could not be written.")
                            .arg(QString::fromStdString(m_directories->settingsFilePath())));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_options->editor().tabSize, 7);
    }

    void fileFiltersReportAnUnwritableSettingsFile() {
        vexa::ui::FileFiltersDialog dialog(*m_options);
        const QString shown = confirmWithUnwritableSettings(dialog);
        QCOMPARE(shown, QStringLiteral("Vexa Error: The settings file '%1' could not be written.")
                            .arg(QString::fromStdString(m_directories->settingsFilePath())));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(OptionDialogsTest)
#include "OptionDialogsTest.moc"
