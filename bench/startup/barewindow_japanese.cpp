// The second yardstick of the start-up benchmark: the bare Qt main window with a menu, drawn in
// the editor's 13-pixel IPA Gothic with one Japanese label, shown as soon as it is built.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(13);
    window.setFont(font);
    window.menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    window.setCentralWidget(new QLabel(QStringLiteral("兵器ﾃﾞｰﾀ 攻撃力 対空")));
    window.resize(650, 450);
    window.show();
    return application.exec();
}
