// The yardstick of the start-up benchmark: a bare Qt main window with a menu and nothing else,
// of the editor's size, shown as soon as it is built.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.resize(650, 450);
    window.show();
    return application.exec();
}
