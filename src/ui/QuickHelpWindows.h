// The Qt views of the help dialogs: a read-only text page, the Quick Help hit list (and Quick
// Search) and the Quick Configuration dialog.
#pragma once

#include <QDialog>

class QComboBox;
class QListWidget;
class QTextBrowser;

namespace vexa::aids {
class HelpTextDialog;
class QuickHelpDialog;
class QuickSetupDialog;
} // namespace vexa::aids

namespace vexa::ui {

class HelpTextWindow final : public QDialog {
    Q_OBJECT

public:
    HelpTextWindow(aids::HelpTextDialog& model, QWidget* parent);
};

class QuickHelpWindow final : public QDialog {
    Q_OBJECT

public:
    QuickHelpWindow(aids::QuickHelpDialog& model, QWidget* parent);

private:
    void refreshHits();
    void pressOk();

    aids::QuickHelpDialog& m_model;
    QComboBox* m_keyword = nullptr;
    QListWidget* m_hits = nullptr;
};

class QuickSetupWindow final : public QDialog {
    Q_OBJECT

public:
    QuickSetupWindow(aids::QuickSetupDialog& model, QWidget* parent);

private:
    void refresh();

    aids::QuickSetupDialog& m_model;
    QListWidget* m_files = nullptr;
    QListWidget* m_installed = nullptr;
};

} // namespace vexa::ui
