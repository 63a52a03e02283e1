#include "qttranslations.h"

#include <QCoreApplication>
#include <QTranslator>

// The resource lives in a static library, whose unreferenced objects the linker would drop;
// registering it by hand keeps it in. The macro only works outside a namespace.
static void RegisterQtTranslations()
{
    Q_INIT_RESOURCE(qttranslations);
}

namespace kt63 {

void InstallJapaneseQtTexts(QCoreApplication& application)
{
    // The program speaks Japanese whatever the user's locale, and carries Qt's Japanese texts:
    // Windows has no Qt translations installed to find them in.
    RegisterQtTranslations();
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral(":/qttranslations/qtbase_ja.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kt63
