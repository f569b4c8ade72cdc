// The editor's main window.
#include "ui/MainWindow.h"

#include <QMdiArea>

#include "Version.h"

namespace vexa::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), m_documentArea(new QMdiArea(this)) {
    setWindowTitle(QString::fromLatin1(versionText()));
    setCentralWidget(m_documentArea);
    resize(1000, 700);
}

} // namespace vexa::ui
