#include "qttranslations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace kt63 {

void InstallJapaneseQtTexts(QCoreApplication& application)
{
    // The program speaks Japanese whatever the user's locale, and carries Qt's Japanese texts:
    // Windows has no Qt translations installed to find them in.
    Q_INIT_RESOURCE(qttranslations);
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral(":/qttranslations/qtbase_ja.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kt63
