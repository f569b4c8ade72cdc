// The frame port of the Qt main window.
#include "ui/QtFrame.h"

#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include "Version.h"
#include "frame/StatusLine.h"
#include "keyboard/KeymapStore.h"
#include "session/Editor.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "ui/ColourOptionsWindow.h"
#include "ui/DialogFocus.h"
#include "ui/DialogViews.h"
#include "ui/EditPaneWidget.h"
#include "ui/EditorOptionsDialog.h"
#include "ui/ExtensionOptionsWindow.h"
#include "ui/FileDialogs.h"
#include "ui/FileFiltersDialog.h"
#include "ui/KeymapManagerWindow.h"
#include "ui/QtSoundPlayer.h"
#include "ui/SearchDialog.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

// Messages, titles and file names: UTF-8 when they are valid UTF-8 (file names, find texts),
// otherwise the Windows-1252 characters of their bytes.
QString qText(std::string_view text) {
    return fromExternalText(text);
}

} // namespace

QtFrame::QtFrame(QMainWindow& window, Options& options, QtSoundPlayer& sound,
                 const std::unique_ptr<Editor>& editor, StatusLineObserver& statusBar, FrameWindowParts parts)
    : m_window(window), m_options(options), m_sound(sound), m_editor(editor), m_statusBar(statusBar),
      m_parts(std::move(parts)), m_printer(std::make_unique<QPrinter>()) {}

QtFrame::~QtFrame() = default;

StatusLine& QtFrame::statusLine() const {
    return m_editor->statusLine();
}

KeyRoad& QtFrame::keys() const {
    return m_editor->keys();
}

void QtFrame::arrangeWindows(WindowArrangement arrangement) {
    m_parts.arrangeWindows(arrangement);
}

void QtFrame::showBar(FrameBar bar, bool visible) {
    m_parts.showBar(bar, visible);
}

int QtFrame::runDialog(QDialog& dialog) {
    settleDialogFocus(dialog);
    return m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec();
}

QtFrame::DialogRunner QtFrame::nestedRunner() {
    return [this](QDialog& dialog) { return runDialog(dialog); };
}

int QtFrame::print(PrintScope scope) {
    QPrintDialog dialog(m_printer.get(), &m_window);
    if (runDialog(dialog) != QDialog::Accepted) {
        return 0;
    }
    return m_parts.printActive(*m_printer, scope == PrintScope::MarkedLines);
}

DialogResult QtFrame::showFrameDialog(FrameDialog kind) {
    const auto result = [](int code) {
        return code == QDialog::Accepted ? DialogResult::Accepted : DialogResult::Cancelled;
    };
    switch (kind) {
    case FrameDialog::EditorOptions: {
        const auto switchProfile = [this](KeyProfile profile) {
            if (!applyProfile(profile, m_options, *this)) {
                return false;
            }
            keys().loadKeymap();
            m_parts.refreshMenuKeyTexts();
            return true;
        };
        EditorOptionsDialog dialog(m_options, switchProfile, &m_window);
        return result(runDialog(dialog));
    }
    case FrameDialog::FileFilters: {
        FileFiltersDialog dialog(m_options, &m_window);
        return result(runDialog(dialog));
    }
    case FrameDialog::Colours: {
        ColourOptionsWindow dialog(m_editor->syntax().colours(), &m_window);
        return result(runDialog(dialog));
    }
    case FrameDialog::Keyboard: {
        KeymapStore store(m_options.directory(DirectoryKind::Config), *this);
        const auto activate = [this](std::unique_ptr<Keymap> keymap) {
            keys().keymaps().replace(std::move(keymap));
            m_parts.refreshMenuKeyTexts();
        };
        KeymapManagerWindow dialog(m_options, *this, store, m_editor->prefixes(), activate, nestedRunner(),
                                   &m_window);
        return result(runDialog(dialog));
    }
    case FrameDialog::Extensions: {
        ExtensionOptionsWindow dialog(m_editor->syntax(), *this, nestedRunner(), &m_window);
        (void)runDialog(dialog);
        // The profiles are saved as they are edited: any change counts, however the dialog closed.
        return dialog.model().isChanged() ? DialogResult::Accepted : DialogResult::Cancelled;
    }
    case FrameDialog::Font: {
        // The editor's font, also while an output window is active; the window's own is another.
        const QFont current = editorFont(m_options);
        QFontDialog dialog(&m_window);
        dialog.setWindowTitle(QStringLiteral("Font"));
        // The list is filtered first: the current font is then chosen among the fonts shown.
        dialog.setOption(QFontDialog::MonospacedFonts);
        dialog.setCurrentFont(current);
        if (runDialog(dialog) != QDialog::Accepted) {
            return DialogResult::Cancelled;
        }
        // OK on the font it opened with changes nothing, not even by rounding its size.
        const QFont chosen = dialog.selectedFont();
        const QFontInfo before(current);
        const QFontInfo after(chosen);
        if (after.family() == before.family() && after.styleName() == before.styleName() &&
            after.pointSize() == before.pointSize() && chosen.underline() == current.underline() &&
            chosen.strikeOut() == current.strikeOut()) {
            return DialogResult::Cancelled;
        }
        m_parts.applyFontChoice(chosen);
        return DialogResult::Accepted;
    }
    case FrameDialog::PrintSetup: {
        QPageSetupDialog dialog(m_printer.get(), &m_window);
        return result(runDialog(dialog));
    }
    case FrameDialog::About:
        if (m_responder) {
            (void)m_responder(versionText(), "About Vexa");
        } else {
            QMessageBox::about(&m_window, QStringLiteral("About Vexa"), QString::fromLatin1(versionText()));
        }
        return DialogResult::Accepted;
    }
    return DialogResult::Cancelled;
}

// ---- the frame port ----

void QtFrame::status(std::string_view text, platform::SoundKind sound, Hold hold) {
    if (m_editor == nullptr) {
        // A message while the editor is being put together: shown as it is.
        m_statusBar.paneChanged(StatusPane::Message, text);
        return;
    }
    statusLine().showMessage(text, hold == Hold::Yes ? MessageTimeout::Keep : MessageTimeout::Clear,
                             MessageBeep::No);
    if (hold == Hold::Yes) {
        statusLine().setHold(true);
    }
    if (sound != platform::SoundKind::None) {
        beep(sound);
    }
}

void QtFrame::messageBox(std::string_view text, std::string_view title) {
    if (m_responder) {
        (void)m_responder(text, title);
        return;
    }
    QMessageBox::warning(&m_window, qText(title), qText(text));
}

Answer QtFrame::ask(std::string_view text, std::string_view title, Question kind) {
    if (m_responder) {
        const Answer answer = m_responder(text, title);
        return kind == Question::YesNo && answer == Answer::Cancel ? Answer::No : answer;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (kind == Question::YesNoCancel) {
        buttons |= QMessageBox::Cancel;
    }
    switch (QMessageBox::question(&m_window, qText(title), qText(text), buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

int QtFrame::choose(std::string_view text, std::string_view title, std::span<const std::string_view> buttons,
                    int defaultButton) {
    if (m_responder) {
        const Answer answer = m_responder(text, title);
        const int index = answer == Answer::Yes ? 0 : answer == Answer::No ? 1 : 2;
        return index < static_cast<int>(buttons.size()) ? index : defaultButton;
    }
    QMessageBox box(QMessageBox::Question, qText(title), qText(text), QMessageBox::NoButton, &m_window);
    std::vector<QPushButton*> pressed;
    for (const std::string_view button : buttons) {
        pressed.push_back(box.addButton(qText(button), QMessageBox::AcceptRole));
    }
    if (defaultButton >= 0 && defaultButton < static_cast<int>(pressed.size())) {
        box.setDefaultButton(pressed[static_cast<std::size_t>(defaultButton)]);
    }
    box.exec();
    const auto found = std::find(pressed.begin(), pressed.end(), box.clickedButton());
    return found != pressed.end() ? static_cast<int>(found - pressed.begin()) : defaultButton;
}

void QtFrame::beginBusy() {
    if (m_busy++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void QtFrame::endBusy() {
    if (m_busy > 0 && --m_busy == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void QtFrame::drainEvents() {
    // A long operation asks often (a load every 500 lines); handling events more often than
    // the screen can show a change only slows it down, and the window stays responsive anyway.
    constexpr qint64 kDrainIntervalMs = 40;
    if (m_lastDrain.isValid() && m_lastDrain.elapsed() < kDrainIntervalMs) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_lastDrain.start();
}

std::vector<std::string> QtFrame::chooseFilesToOpen(const FileDialogRequest& request) {
    return m_fileChooser ? m_fileChooser(request) : runOpenDialog(&m_window, request);
}

std::optional<std::string> QtFrame::chooseFileToSave(const FileDialogRequest& request) {
    if (m_fileChooser) {
        auto chosen = m_fileChooser(request);
        return chosen.empty() ? std::nullopt : std::optional<std::string>(chosen.front());
    }
    return runSaveDialog(&m_window, request);
}

void QtFrame::beep(platform::SoundKind kind) {
    if (m_options.editor().makeSound != 0) {
        m_sound.beep(kind);
    }
}

Frame::TimerId QtFrame::startTimer(uint32_t intervalMs, std::function<void()> tick) {
    const TimerId id = m_nextTimer++;
    auto* timer = new QTimer(this);
    timer->setInterval(static_cast<int>(intervalMs));
    connect(timer, &QTimer::timeout, this, [tick = std::move(tick)] { tick(); });
    m_timers[id] = timer;
    timer->start();
    return id;
}

void QtFrame::stopTimer(TimerId id) {
    auto found = m_timers.find(id);
    if (found == m_timers.end()) {
        return;
    }
    found->second->stop();
    found->second->deleteLater();
    m_timers.erase(found);
}

DialogResult QtFrame::showDialog(DialogModel& model) {
    std::unique_ptr<QDialog> view = makeDialogView(model, &m_window);
    if (view == nullptr) {
        messageBox(formatText("The dialog '%s' can not be shown.", std::string(model.title()).c_str()));
        return DialogResult::Cancelled;
    }
    const int code = runDialog(*view);
    return code == QDialog::Accepted ? DialogResult::Accepted : DialogResult::Cancelled;
}

void QtFrame::showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) {
    closeSearchDialog();
    m_searchDialog = new SearchDialog(std::move(dialog), &m_window);
    m_searchDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_searchDialog, &QObject::destroyed, this, [this] { m_searchDialog = nullptr; });
    // The dialog's Help button: the user guide at its section on searching.
    connect(m_searchDialog, &SearchDialog::helpRequested, this,
            [this] { (void)m_editor->help().showGuide(aids::kGuideSearchSection); });
    connect(m_searchDialog, &SearchDialog::searched, this, [this] {
        m_parts.syncActivePane();
        keepSearchDialogOffTheCursor();
    });
    m_searchDialog->show();
    keepSearchDialogOffTheCursor();
}

void QtFrame::keepSearchDialogOffTheCursor() {
    EditPaneWidget* pane = m_parts.activePane();
    if (m_searchDialog == nullptr || pane == nullptr) {
        return;
    }
    const Document& document = pane->document();
    const QPoint cell =
        pane->viewport()->mapToGlobal(pane->cellCentre(document.cursorLine(), document.cursorColumn()));
    const QRect line(cell.x() - pane->cellHeight(), cell.y() - pane->cellHeight(), 2 * pane->cellHeight(),
                     2 * pane->cellHeight());
    QRect dialog = m_searchDialog->frameGeometry();
    if (!dialog.intersects(line)) {
        return;
    }
    // Below the found line when the window has room there, else above it.
    const QRect frame = m_window.frameGeometry();
    if (line.bottom() + dialog.height() <= frame.bottom()) {
        dialog.moveTop(line.bottom() + 1);
    } else {
        dialog.moveBottom(line.top() - 1);
    }
    m_searchDialog->move(dialog.topLeft());
}

void QtFrame::closeSearchDialog() {
    if (m_searchDialog != nullptr) {
        // Deleting the dialog closes its session, which writes the histories now.
        delete m_searchDialog;
        m_searchDialog = nullptr;
    }
}

QDialog* QtFrame::searchDialog() const {
    return m_searchDialog;
}

} // namespace vexa::ui
