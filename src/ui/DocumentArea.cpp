// The document area of the Qt main window.
#include "ui/DocumentArea.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTimer>
#include <QtMath>

#include "commands/EditPane.h"
#include "commands/PrimarySelection.h"
#include "session/Editor.h"
#include "settings/Options.h"
#include "ui/DocumentPrinter.h"
#include "ui/EditPaneWidget.h"
#include "ui/OutputWindowWidget.h"
#include "ui/QtKeyState.h"
#include "ui/WindowArrangement.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

// Held keys and drags change a mark many times a second; its text goes to the selection once.
constexpr int kPrimaryPauseMs = 60;

// Messages, titles and file names: UTF-8 when they are valid UTF-8 (file names, find texts),
// otherwise the Windows-1252 characters of their bytes.
QString qText(std::string_view text) {
    return fromExternalText(text);
}

} // namespace

DocumentArea::DocumentArea(QMainWindow& window, Options& options, QtKeyState& keyState,
                           PrimarySelection& primary, const std::unique_ptr<Editor>& editor, Frame& frame,
                           DocumentAreaParts parts)
    : m_window(window), m_options(options), m_keyState(keyState), m_primary(primary), m_editor(editor),
      m_frame(frame), m_parts(std::move(parts)), m_documentArea(new QMdiArea(&window)) {
    m_documentArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_documentArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_primaryTimer = new QTimer(this);
    m_primaryTimer->setSingleShot(true);
    m_primaryTimer->setInterval(kPrimaryPauseMs);
    connect(m_primaryTimer, &QTimer::timeout, this, [this] { m_primary.follow(processor().document()); });
    connect(m_documentArea, &QMdiArea::subWindowActivated, this, &DocumentArea::subWindowActivated);
}

DocumentArea::~DocumentArea() = default;

CommandProcessor& DocumentArea::processor() const {
    return m_editor->processor();
}

StatusLine& DocumentArea::statusLine() const {
    return m_editor->statusLine();
}

Workspace& DocumentArea::workspace() const {
    return m_editor->workspace();
}

KeyRoad& DocumentArea::keys() const {
    return m_editor->keys();
}

void DocumentArea::deleteWindows() {
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        window->removeEventFilter(this);
        delete window; // its widget shows a pane of the workspace, which still lives
    }
}

bool DocumentArea::eventFilter(QObject* watched, QEvent* event) {
    // A document window's own close button goes through the save question too.
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            if (auto* pane = qobject_cast<EditPaneWidget*>(window->widget())) {
                (void)workspace().close(pane->pane());
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DocumentArea::syncActivePane() {
    if (EditPaneWidget* pane = activePane()) {
        pane->syncCaret();
    }
    afterInput();
}

void DocumentArea::afterInput() {
    if (!m_editor) {
        return;
    }
    statusLine().setIndicator(Indicator::Mode, processor().editSettings().insertMode);
    statusLine().refreshKeyStates();
    m_primaryTimer->start();
    if (EditPaneWidget* pane = activePane()) {
        const Document& doc = pane->document();
        statusLine().setIndicator(Indicator::Changed, doc.isModified());
        statusLine().setIndicator(Indicator::ReadOnly, doc.isReadOnly());
        statusLine().showFormat(doc.encoding(), doc.lineEnds(), doc.hasMixedLineEnds());
        statusLine().showEditPosition(static_cast<uint32_t>(doc.cursorLine()), doc.cursorColumn());
    }
    workspace().refreshTitles();
}

int DocumentArea::printActive(QPagedPaintDevice& device, bool markedOnly) {
    EditPaneWidget* pane = activePane();
    if (pane == nullptr) {
        return 0;
    }
    PrintRequest request;
    request.font = pane->font();
    request.tabSize = processor().editSettings().tabSize;
    request.markedOnly = markedOnly;
    const Document& document = pane->document();
    request.title = qText(document.hasName() ? document.fileName() : std::string(kUntitled));
    BusyCursor busy(m_frame);
    return printDocument(document, device, request);
}

void DocumentArea::applyFontChoice(const QFont& font) {
    FontDetails& details = m_options.font();
    details.face = toWindows1252(font.family());
    details.height = -QFontInfo(font).pixelSize();
    details.weight = font.bold() ? 700 : 400;
    details.italic = font.italic() ? 1 : 0;
    details.underline = font.underline() ? 1 : 0;
    details.strikeOut = font.strikeOut() ? 1 : 0;
    if (!m_options.saveFont()) {
        m_frame.status("The font could not be written to the settings file.",
                       platform::SoundKind::Exclamation);
    }
    for (EditPaneWidget* pane : paneWidgets()) {
        pane->applyFont();
    }
}

// ---- the windows ----

EditPaneWidget* DocumentArea::activePane() const {
    QMdiSubWindow* window = m_documentArea->activeSubWindow();
    return window != nullptr ? qobject_cast<EditPaneWidget*>(window->widget()) : nullptr;
}

std::vector<EditPaneWidget*> DocumentArea::paneWidgets() const {
    std::vector<EditPaneWidget*> widgets;
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        if (auto* pane = qobject_cast<EditPaneWidget*>(window->widget())) {
            widgets.push_back(pane);
        }
    }
    return widgets;
}

EditPaneWidget* DocumentArea::widgetOf(const EditPane& pane) const {
    for (EditPaneWidget* widget : paneWidgets()) {
        if (&widget->pane() == &pane) {
            return widget;
        }
    }
    return nullptr;
}

QMdiSubWindow* DocumentArea::windowOf(const EditPane& pane) const {
    EditPaneWidget* widget = widgetOf(pane);
    return widget != nullptr ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr;
}

void DocumentArea::windowOpened(EditPane& pane) {
    // "DisplayMode" is the show state of a new document window (3 maximised, 2 minimised); a new
    // window also follows an active one that is maximised.
    const int displayMode = m_options.editor().displayMode;
    const bool maximised = displayMode == 3 || (m_documentArea->activeSubWindow() != nullptr &&
                                                m_documentArea->activeSubWindow()->isMaximized());
    PaneServices services{processor(),        keys(),      m_keyState, m_options,
                          m_editor->syntax(), workspace(), m_primary,  m_parts.contextMenu()};
    auto* widget = new EditPaneWidget(services, pane);
    QMdiSubWindow* window = m_documentArea->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(qText(workspace().title(pane)));
    connect(widget, &EditPaneWidget::inputHandled, this, &DocumentArea::afterInput);
    connect(widget, &EditPaneWidget::activated, this,
            [this](EditPaneWidget* activated) { workspace().windowActivatedByUser(activated->pane()); });
    window->installEventFilter(this);
    // A new window takes most of the document area, at least the useful size, cascaded below the
    // ones already open. A window shown maximised or minimised gets the same place to be restored
    // to. Before the main window is first shown the area has no size yet: the window is placed
    // once it has.
    const int cascade = (static_cast<int>(m_documentArea->subWindowList().size()) - 1) % 8;
    const auto place = [this, cascade](QMdiSubWindow* placed) {
        const QSize area = m_documentArea->viewport()->size();
        const QSize size =
            windowSizeWithin(area * 4 / 5, usefulWindowSize(), area).expandedTo(QSize(200, 150));
        const int step = placed->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int offset = std::max(0, std::min(cascade * step, std::min(area.width() - size.width(),
                                                                         area.height() - size.height())));
        placed->setGeometry(offset, offset, size.width(), size.height());
    };
    place(window);
    if (maximised) {
        window->showMaximized();
        return;
    }
    if (displayMode == 2) {
        window->showMinimized();
        return;
    }
    window->show();
    if (!m_documentArea->isVisible()) {
        QTimer::singleShot(0, window, [window, place] {
            if (!window->isMaximized()) {
                place(window);
            }
        });
    }
}

QSize DocumentArea::usefulWindowSize() const {
    constexpr int kUsefulColumns = 80;
    constexpr int kUsefulLines = 25;
    const QFontMetricsF metrics(editorFont(m_options));
    const QStyle* style = m_documentArea->style();
    const int frame = 2 * style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The margin column and the frame, scroll bars and title bar around the text.
    const int width =
        qCeil((kUsefulColumns + 1) * metrics.horizontalAdvance(QLatin1Char('M'))) + frame + scrollBar;
    const int height = kUsefulLines * QFontMetrics(editorFont(m_options)).height() + frame + scrollBar +
                       style->pixelMetric(QStyle::PM_TitleBarHeight);
    return {width, height};
}

void DocumentArea::windowClosed(std::unique_ptr<EditPane> pane) {
    QMdiSubWindow* window = windowOf(*pane);
    if (window == nullptr) {
        return;
    }
    auto* widget = qobject_cast<EditPaneWidget*>(window->widget());
    m_documentArea->removeSubWindow(window);
    window->removeEventFilter(this);
    window->hide();
    // The window goes once the current event is handled (a key of this pane may have asked), and
    // its pane with it.
    widget->adoptClosedPane(std::move(pane));
    window->deleteLater();
    if (m_documentArea->subWindowList().isEmpty()) {
        statusLine().clearAll();
    }
}

void DocumentArea::windowActivated(EditPane& pane) {
    if (QMdiSubWindow* window = windowOf(pane)) {
        if (m_documentArea->activeSubWindow() != window) {
            m_documentArea->setActiveSubWindow(window);
        }
        window->widget()->setFocus();
    }
    syncActivePane();
}

void DocumentArea::windowChanged(EditPane& pane) {
    QMdiSubWindow* window = windowOf(pane);
    if (window == nullptr) {
        return;
    }
    window->setWindowTitle(qText(workspace().title(pane)));
    auto* widget = qobject_cast<EditPaneWidget*>(window->widget());
    widget->chooseProfile();
    widget->applyFont(); // the margin may have come or gone
    widget->repaintAll();
}

void DocumentArea::recentFilesChanged() {
    m_parts.refreshRecentFiles();
}

void DocumentArea::exitRequested() {
    QTimer::singleShot(0, &m_window, [this] { m_window.close(); });
}

void DocumentArea::subWindowActivated(QMdiSubWindow* window) {
    if (window == nullptr || m_editor == nullptr) {
        return;
    }
    if (qobject_cast<OutputWindowWidget*>(window->widget()) != nullptr) {
        processor().activateOutputWindow();
        return;
    }
    auto* pane = qobject_cast<EditPaneWidget*>(window->widget());
    if (pane == nullptr) {
        return;
    }
    workspace().windowActivatedByUser(pane->pane());
    afterInput();
}

// ---- the output windows ----

OutputWindowWidget* DocumentArea::outputWidgetOf(toolchain::OutputKind kind) const {
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        auto* widget = qobject_cast<OutputWindowWidget*>(window->widget());
        if (widget != nullptr && widget->kind() == kind) {
            return widget;
        }
    }
    return nullptr;
}

void DocumentArea::showOutputWindow(toolchain::OutputWindow& output) {
    OutputWindowWidget* widget = outputWidgetOf(output.kind());
    if (widget == nullptr) {
        widget = new OutputWindowWidget(m_editor->outputs(), output.kind(), {keys(), m_keyState});
        QMdiSubWindow* window = m_documentArea->addSubWindow(widget);
        window->setWindowTitle(qText(output.title()));
        const QRect area = m_documentArea->viewport()->rect();
        window->setGeometry(0, area.height() * 3 / 5, area.width(), area.height() * 2 / 5);
    }
    auto* window = qobject_cast<QMdiSubWindow*>(widget->parentWidget());
    window->show();
    m_documentArea->setActiveSubWindow(window);
    widget->setFocus();
    processor().activateOutputWindow();
}

void DocumentArea::outputLinesChanged(toolchain::OutputWindow& output) {
    if (OutputWindowWidget* widget = outputWidgetOf(output.kind())) {
        widget->refreshLines();
    }
}

void DocumentArea::outputSelectionChanged(toolchain::OutputWindow& output) {
    if (OutputWindowWidget* widget = outputWidgetOf(output.kind())) {
        widget->refreshSelection();
    }
}

void DocumentArea::arrangeWindows(WindowArrangement arrangement) {
    arrangeSubWindows(*m_documentArea, arrangement, usefulWindowSize());
}

} // namespace vexa::ui
