// The Color Options dialog: the scheme, group and colour lists of the colour options model; Update
// gives the working colours to the colour table.
#pragma once

#include <QDialog>

#include "syntax/ColourOptionsDialog.h"

class QListWidget;

namespace vexa::ui {

class ColourOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    ColourOptionsWindow(syntax::ColourTable& table, QWidget* parent = nullptr);

    QListWidget* schemes() const { return m_schemes; }
    QListWidget* groups() const { return m_groups; }
    QListWidget* colours() const { return m_colours; }
    // "Update": the working colours into the table, then the dialog closes.
    void update();

private:
    void showSelection();

    syntax::ColourOptionsDialog m_model;
    QListWidget* m_schemes;
    QListWidget* m_groups;
    QListWidget* m_colours;
};

} // namespace vexa::ui
