#include "japanesefont.h"

#include "japanesefontname.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace kt63 {

namespace {

QFont FontOf(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::SansSerif);
    // Hinting only up and down keeps each character's own width: a half-width one stays half a
    // full-width one, as the layout was drawn, where full hinting rounds every width up to a
    // whole pixel. It is what fontconfig gives on Linux; Windows is told so.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

// Where the font is missing, the first family the font database lists for Japanese serves.
QString JapaneseFamily(const QString& preferred, int pixelSize)
{
    const QStringList listed = QFontDatabase::families(QFontDatabase::Japanese);
    if (const std::optional<QString> name = ListedName(FontOf(preferred, pixelSize), listed)) {
        return *name;
    }
    return listed.isEmpty() ? preferred : listed.first();
}

} // namespace

// Looking the families up once is enough: fonts are not installed while the editor runs.
QFont JapaneseFont(int pixelSize)
{
    static const QString family = JapaneseFamily(QStringLiteral("IPAPGothic"), pixelSize);
    return FontOf(family, pixelSize);
}

QFont JapaneseFixedFont(int pixelSize)
{
    static const QString family = JapaneseFamily(QStringLiteral("IPAGothic"), pixelSize);
    return FontOf(family, pixelSize);
}

} // namespace kt63
