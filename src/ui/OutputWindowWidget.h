// The widget of one output window: the list of its lines over the line model, with keyboard
// navigation; choosing a line selects it, Enter or a double click goes to the place it names;
// other keys take the key road.
#pragma once

#include <QAbstractListModel>
#include <QWidget>

#include "toolchain/OutputWindow.h"
#include "ui/KeyForwarding.h"

class QListView;

namespace vexa::toolchain {
class OutputWindows;
}

namespace vexa::ui {

// The window's lines for a list view; error lines in red, warning lines in dark yellow.
class OutputLinesModel final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit OutputLinesModel(const toolchain::OutputWindow& window, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The window's lines were replaced.
    void reload();

private:
    const toolchain::OutputWindow& m_window;
};

class OutputWindowWidget final : public QWidget {
    Q_OBJECT

public:
    // Keys the keymap binds go through the key road like an edit pane's; the arrows, the page
    // keys and Return stay with the list.
    OutputWindowWidget(toolchain::OutputWindows& outputs, toolchain::OutputKind kind, KeyPorts keys,
                       QWidget* parent = nullptr);

    toolchain::OutputKind kind() const { return m_kind; }
    QListView* list() const { return m_list; }

    // Called by the window system when the model changed (OutputWindowHost).
    void refreshLines();
    void refreshSelection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void userChoseRow(const QModelIndex& index);
    // Brings this window back to the front with the keyboard focus when choosing a line took it.
    void keepKeyboardFocus();

    toolchain::OutputWindows& m_outputs;
    toolchain::OutputKind m_kind;
    KeyPorts m_keys;
    OutputLinesModel* m_model;
    QListView* m_list;
    bool m_settingSelection = false;
    // A row chosen by a mouse press is taken once a double click could no longer follow: taking
    // it may bring a document window forward, which must not receive the second click.
    class QTimer* m_clickTimer;
    int m_clickedRow = -1;
};

} // namespace vexa::ui
