// The Find in Files dialog's view: each field goes to its model, the model decides.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vexa::findfiles {
class FindInFilesDialog;
}

namespace vexa::ui {

class FindInFilesWindow final : public QDialog {
    Q_OBJECT
public:
    FindInFilesWindow(findfiles::FindInFilesDialog& model, QWidget* parent = nullptr);

private:
    void pressFind();

    findfiles::FindInFilesDialog& m_model;
    QComboBox* m_findText;
    QLineEdit* m_folder;
    QLineEdit* m_patterns;
    QCheckBox* m_regex;
    QCheckBox* m_case;
    QCheckBox* m_word;
    QCheckBox* m_subfolders;
    QCheckBox* m_skipHidden;
    QCheckBox* m_ignoreFiles;
    QLabel* m_problem;
};

} // namespace vexa::ui
