// Prints, one line each, what the editor's windows are drawn with in the locale it runs in: the
// files of the fonts Qt resolved, their pixel sizes and the widths the layout rests on, the size
// of the main window and a text of Qt's own dialogs. Runs in several locales compare line by line.

#include "formfixture.h"
#include "japanesefont.h"
#include "qttranslations.h"
#include "tsdiappform.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTextStream>

#include <fontconfig/fontconfig.h>

#include <clocale>

namespace {

// The files that hold the family Qt resolved `font` to; a file reached by several links counts
// once.
QString FontFiles(const QFont& font)
{
    QStringList files;
    for (const QString& file : kt63::FontconfigValues(QFontInfo(font).family(), FC_FILE))
        files << QFileInfo(file).canonicalFilePath();
    files.removeDuplicates();
    files.sort();
    return files.join(u',');
}

QString Describe(const QFont& font)
{
    const QFontMetrics metrics(font);
    return QString("%1 pixels=%2 height=%3 digits=%4 sample=%5")
        .arg(FontFiles(font))
        .arg(QFontInfo(font).pixelSize())
        .arg(metrics.height())
        .arg(metrics.horizontalAdvance("0123456789"))
        .arg(metrics.horizontalAdvance("ﾘｽﾄNo. 兵器リスト 武装①"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    kt63::InstallJapaneseQtTexts(app);
    QTextStream out(stdout);
    out << "locale " << std::setlocale(LC_CTYPE, nullptr) << '\n';
    out << "window-font " << Describe(kt63::JapaneseFixedFont(13)) << '\n';
    out << "status-bar-font " << Describe(kt63::JapaneseFont(13)) << '\n';
    kt63::test::FormFixture fixture;
    const QSize size = fixture.form().size();
    out << "window-size " << size.width() << 'x' << size.height() << '\n';
    out << "dialog-text " << QCoreApplication::translate("QPlatformTheme", "Cancel") << '\n';
    return 0;
}
