#include "app/gui/MainWindow.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Lumara"));
}

MainWindow::~MainWindow() = default;

void MainWindow::start()
{
    show();
}
