// The editor's main window: the frame that holds the document windows, menus and status bar.
#pragma once

#include <QMainWindow>

class QMdiArea;

namespace vexa::ui {

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QMdiArea* documentArea() const { return m_documentArea; }

private:
    QMdiArea* m_documentArea;
};

} // namespace vexa::ui
