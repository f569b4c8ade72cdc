// The Qt views of the writing aids' dialog models: "Spelling", "Spelling Options",
// "Template Options" and "Edit Template".
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace vexa::aids {
class EditTemplateDialog;
class SpellingDialog;
class SpellingOptionsDialog;
class TemplateOptionsDialog;
} // namespace vexa::aids

namespace vexa::ui {

class SpellingWindow final : public QDialog {
    Q_OBJECT

public:
    SpellingWindow(aids::SpellingDialog& model, QWidget* parent = nullptr);
    QListWidget* words() const { return m_words; }
    QLineEdit* changeTo() const { return m_changeTo; }
    QPushButton* changeButton() const { return m_change; }

private:
    void finish(int button);

    aids::SpellingDialog& m_model;
    QListWidget* m_words;
    QLineEdit* m_changeTo;
    QPushButton* m_change;
};

class SpellingOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    SpellingOptionsWindow(aids::SpellingOptionsDialog& model, QWidget* parent = nullptr);

private:
    aids::SpellingOptionsDialog& m_model;
};

class EditTemplateWindow final : public QDialog {
    Q_OBJECT

public:
    EditTemplateWindow(aids::EditTemplateDialog& model, QWidget* parent = nullptr);

private:
    void refreshEntries();

    aids::EditTemplateDialog& m_model;
    QTableWidget* m_entries;
    QLineEdit* m_abbreviation;
    QPlainTextEdit* m_expansion;
};

class TemplateOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    TemplateOptionsWindow(aids::TemplateOptionsDialog& model, QWidget* parent = nullptr);

private:
    void refreshSets();

    aids::TemplateOptionsDialog& m_model;
    QListWidget* m_sets;
};

} // namespace vexa::ui
