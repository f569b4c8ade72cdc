// The modeless Find and Replace dialogs: show a search dialog session's controls with the history
// combo boxes and press its buttons; the session holds every rule.
#pragma once

#include <QDialog>
#include <memory>

#include "frame/SearchDialogSession.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace vexa::ui {

class SearchDialog final : public QDialog {
    Q_OBJECT

public:
    SearchDialog(std::unique_ptr<SearchDialogSession> session, QWidget* parent = nullptr);
    // Closing writes the session's histories.
    ~SearchDialog() override;

    SearchDialogSession& session() { return *m_session; }

    // Put the controls into the session and press its button.
    bool findNext();
    int replace();

signals:
    // A button worked on the active pane; the window brings its caret and status along.
    void searched();
    // The Help button: the window runs the help function.
    void helpRequested();

protected:
    void reject() override;

private:
    void applyControls();
    void fillHistories();

    std::unique_ptr<SearchDialogSession> m_session;
    QComboBox* m_findText;
    QComboBox* m_replaceText = nullptr;
    QCheckBox* m_wholeWord;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_regex;
    QCheckBox* m_replaceAll = nullptr;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
};

} // namespace vexa::ui
