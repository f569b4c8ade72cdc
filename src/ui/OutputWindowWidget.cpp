// The output window widget: a list view over the line model that forwards the user's choices.
#include "ui/OutputWindowWidget.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>

#include "toolchain/OutputWindows.h"
#include "ui/Windows1252.h"

namespace vexa::ui {

OutputLinesModel::OutputLinesModel(const toolchain::OutputWindow& window, QObject* parent)
    : QAbstractListModel(parent), m_window(window) {}

int OutputLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_window.lineCount());
}

QVariant OutputLinesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= m_window.lineCount()) {
        return {};
    }
    const toolchain::OutputLine& line = m_window.lines()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        // Program output is shown as UTF-8 when it is valid UTF-8, line by line, otherwise one
        // byte a character.
        return fromDocumentText(line.text, text::detectEncoding(line.text, TextEncoding::Utf8));
    case Qt::ForegroundRole:
        if (line.parsed.kind == toolchain::ErrorKind::Error) {
            return QBrush(QColor(0xB0, 0x00, 0x00));
        }
        if (line.parsed.kind == toolchain::ErrorKind::Warning) {
            return QBrush(QColor(0x80, 0x60, 0x00));
        }
        return {};
    default:
        return {};
    }
}

void OutputLinesModel::reload() {
    beginResetModel();
    endResetModel();
}

OutputWindowWidget::OutputWindowWidget(toolchain::OutputWindows& outputs, toolchain::OutputKind kind, KeyPorts keys,
                                       QWidget* parent)
    : QWidget(parent), m_outputs(outputs), m_kind(kind), m_keys(keys),
      m_model(new OutputLinesModel(outputs.window(kind), this)), m_list(new QListView(this)) {
    setWindowTitle(fromWindows1252(outputs.window(kind).title()));
    m_list->setModel(m_model);
    m_list->setUniformItemSizes(true); // tens of thousands of lines stay quick
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);

    m_clickTimer = new QTimer(this);
    m_clickTimer->setSingleShot(true);
    connect(m_clickTimer, &QTimer::timeout, this, [this] { userChoseRow(m_model->index(m_clickedRow, 0)); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (m_settingSelection) {
                    return;
                }
                if (QApplication::mouseButtons() != Qt::NoButton) {
                    m_clickedRow = current.row();
                    m_clickTimer->start(QApplication::doubleClickInterval());
                    return;
                }
                userChoseRow(current);
                // Moving through the lines by keys: the compiled document may have come forward
                // to show the line, but the next keys are still the list's, not its text's.
                keepKeyboardFocus();
            });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_clickTimer->stop();
        userChoseRow(index);
        // Once the click has ended: the document window that comes up must not get the rest of it
        // (its release and a second click that would mark a word there).
        QTimer::singleShot(0, this, [this] { (void)m_outputs.goToSelected(m_kind); });
    });
    refreshLines();
}

void OutputWindowWidget::userChoseRow(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (m_outputs.window(m_kind).selection() == row) {
        return;
    }
    m_outputs.select(m_kind, row);
}

void OutputWindowWidget::keepKeyboardFocus() {
    auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (subWindow != nullptr && subWindow->mdiArea() != nullptr &&
        subWindow->mdiArea()->activeSubWindow() != subWindow) {
        subWindow->mdiArea()->setActiveSubWindow(subWindow);
    }
    if (!m_list->hasFocus()) {
        m_list->setFocus();
    }
}

void OutputWindowWidget::refreshLines() {
    m_settingSelection = true;
    m_model->reload();
    m_settingSelection = false;
    refreshSelection();
}

void OutputWindowWidget::refreshSelection() {
    const auto selection = m_outputs.window(m_kind).selection();
    m_settingSelection = true;
    if (selection) {
        const QModelIndex index = m_model->index(static_cast<int>(*selection));
        m_list->setCurrentIndex(index);
        m_list->scrollTo(index);
    } else {
        m_list->clearSelection();
    }
    m_settingSelection = false;
}

bool OutputWindowWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_list) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (keymapClaims(m_keys.road, *static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            userChoseRow(m_list->currentIndex());
            (void)m_outputs.goToSelected(m_kind);
            return true;
        }
        // The key filter leaves the arrows and the page keys to the list.
        return sendThroughKeyRoad(m_keys, *key);
    }
    case QEvent::KeyRelease:
        (void)sendThroughKeyRoad(m_keys, *static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vexa::ui
