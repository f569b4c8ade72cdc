// The editor's entry: builds the application and its main window and runs the event loop.
#include <QApplication>

#include "ui/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vexa::ui::MainWindow window;
    window.show();
    return app.exec();
}
