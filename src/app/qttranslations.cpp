#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef Q_OS_WIN
// The resource lives in a static library, whose unreferenced objects the linker would drop;
// registering it by hand keeps it in. The macro only works outside a namespace.
static void RegisterQtTranslations()
{
    Q_INIT_RESOURCE(qttranslations);
}
#endif

namespace kt63 {

namespace {

// Linux has Qt's translations installed beside Qt; Windows has none, and the program carries
// the Japanese ones.
bool LoadJapaneseQtTexts(QTranslator& translator)
{
#ifdef Q_OS_WIN
    RegisterQtTranslations();
    return translator.load(QStringLiteral(":/qttranslations/qtbase_ja.qm"));
#else
    return translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
#endif
}

} // namespace

void InstallJapaneseQtTexts(QCoreApplication& application)
{
    // The program speaks Japanese whatever the user's locale.
    auto* translator = new QTranslator(&application);
    if (LoadJapaneseQtTexts(*translator))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kt63
