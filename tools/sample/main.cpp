// kt63-sample FOLDER [SEED]: writes a synthetic "Qelvint.dll" and "WN.dat" into FOLDER.

#include "samplefiles.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    bool seedOk = true;
    const uint32_t seed = args.size() > 2 ? args[2].toUInt(&seedOk) : 1;
    if (args.size() < 2 || args.size() > 3 || !seedOk) {
        err << "usage: kt63-sample FOLDER [SEED]\n";
        return 2;
    }
    const QString error = kt63::sample::WriteSampleFiles(args[1], seed);
    if (!error.isEmpty()) {
        err << "kt63-sample: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Wrote Qelvint.dll and WN.dat into " << args[1] << "\n";
    return 0;
}
