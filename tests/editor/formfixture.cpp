#include "formfixture.h"

#include "samplefiles.h"
#include "tsdiappform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace kt63::test {

namespace {

// An open menu holds the keyboard; otherwise the keys go to the active window.
QWindow* KeyWindow()
{
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        qFatal("no window is active to take a key");
    return target->windowHandle();
}

} // namespace

FormFixture::FormFixture(Files files) : mStartDir(QDir::currentPath())
{
    WriteFile(mDir.filePath("WN.dat"), sample::MakeSampleNameList(1));
    if (files == Files::NameListAndDataFile)
        WriteFile(mDir.filePath("Qelvint.dll"), sample::MakeSampleDataFile(1));
    QDir::setCurrent(mDir.path());
    mForm = std::make_unique<TSDIAppForm>();
}

FormFixture::~FormFixture()
{
    mForm.reset();
    QDir::setCurrent(mStartDir);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString OwnerName(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_"))
            return name;
    }
    return {};
}

bool ClickAsUser(QWidget* control, QPoint local)
{
    if (local == QPoint(-1, -1))
        local = control->rect().center();
    QWidget* window = control->window();
    const QPoint at = control->mapTo(window, local);
    QWidget* hit = window->childAt(at);
    if (!hit)
        hit = window;
    if (hit != control && !control->isAncestorOf(hit))
        return false;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
    return true;
}

void PressKeyAsUser(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(KeyWindow(), key, modifiers);
}

void TypeAsUser(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(KeyWindow(), c.toLatin1());
}

} // namespace kt63::test
