#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace kt63 {
class TSDIAppForm;
}

class QWidget;

namespace kt63::test {

// A main window built in a temporary working directory that holds the sample "WN.dat" (and,
// when asked, the sample data file "Qelvint.dll"). The working directory is put back after.
class FormFixture
{
public:
    enum class Files { NameListOnly, NameListAndDataFile };

    explicit FormFixture(Files files = Files::NameListOnly);
    ~FormFixture();

    TSDIAppForm& form() { return *mForm; }
    QString path(const QString& name) const { return mDir.filePath(name); }
    QString dir() const { return mDir.path(); }

private:
    QString mStartDir;
    QTemporaryDir mDir;
    std::unique_ptr<TSDIAppForm> mForm;
};

// Whole-file helpers for what a command wrote; a file that cannot be read or written ends the test.
QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

// The name of the window's control that `widget` belongs to: the widget's own name, or that of
// the nearest named parent (a list's text box, a radio group's button, a page control's tabs).
QString OwnerName(const QWidget* widget);

// Input as the platform delivers it, through the application to a window: a click goes to the
// control under the pointer, with Qt's click-focus rules run on the way, and a key to the
// control that has the focus, or to the menu that is open. ClickAsUser clicks `control` at
// `local` (its centre by default) and gives false when another control lies there.
[[nodiscard]] bool ClickAsUser(QWidget* control, QPoint local = QPoint(-1, -1));
void PressKeyAsUser(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void TypeAsUser(const QString& text);

} // namespace kt63::test
