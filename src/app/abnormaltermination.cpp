#include "abnormaltermination.h"

#include <QGuiApplication>

#include <cstdio>

namespace kt63 {

QString ProgramFileName(const QString& programPath)
{
    return programPath.mid(programPath.lastIndexOf(QLatin1Char('/')) + 1);
}

std::unique_ptr<QMessageBox> MakeAbnormalTerminationBox(const QString& programPath)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, ProgramFileName(programPath),
                                             QStringLiteral("Abnormal program termination"),
                                             QMessageBox::Ok);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

int AbnormalTermination(const QString& programPath, const QString& message)
{
    const QString name = ProgramFileName(programPath);
    if (!message.isEmpty())
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(message));
    MakeAbnormalTerminationBox(programPath)->exec();
    return kAbnormalTerminationStatus;
}

} // namespace kt63
