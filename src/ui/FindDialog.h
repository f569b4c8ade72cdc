// The Find and Replace dialogs: show the model's controls with its history combo box and forwards the
// buttons to the model; the model holds every rule. (The model's header stays out of this one, so
// that the search and command headers never meet in one translation unit.)
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace vexa {
class ReplaceDialogModel;
class SearchDialogModel;
class SearchPane;
} // namespace vexa

namespace vexa::ui {

class FindDialog final : public QDialog {
    Q_OBJECT

public:
    // paneForSearch gives the active pane when a button is pressed (null without one).
    FindDialog(std::unique_ptr<SearchDialogModel> model, std::function<SearchPane*()> paneForSearch,
               QWidget* parent = nullptr);
    // The Replace dialog: the find controls plus the replacement text, Replace All and Replace.
    FindDialog(std::unique_ptr<ReplaceDialogModel> model, std::function<SearchPane*()> paneForSearch,
               QWidget* parent = nullptr);
    ~FindDialog() override;

    SearchDialogModel& model() { return *m_model; }
    QComboBox* findText() const { return m_findText; }
    QPushButton* findNextButton() const { return m_findNext; }

    // Puts the controls into the model and runs Find Next.
    bool findNext();
    // Puts the controls into the model and runs Replace; the number replaced.
    int replace();

protected:
    void reject() override;

private:
    void build();
    void applyControls();
    void fillHistory();
    void fillReplaceHistory();

    std::unique_ptr<SearchDialogModel> m_model;
    std::function<SearchPane*()> m_paneForSearch;
    QComboBox* m_findText;
    QCheckBox* m_wholeWord;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_regex;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
    ReplaceDialogModel* m_replaceModel = nullptr; // the model itself, for the Replace dialog
    QComboBox* m_replaceText = nullptr;
    QCheckBox* m_replaceAll = nullptr;
};

} // namespace vexa::ui
