#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace kt63 {
class TSDIAppForm;
}

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

} // namespace kt63::test
