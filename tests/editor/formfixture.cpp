#include "formfixture.h"

#include "samplefiles.h"
#include "tsdiappform.h"

#include <QDir>
#include <QFile>
#include <QWidget>

namespace kt63::test {

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

} // namespace kt63::test
