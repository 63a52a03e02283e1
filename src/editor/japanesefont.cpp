#include "japanesefont.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace kt63 {

namespace {

QString JapaneseFamily(const QString& preferred)
{
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    if (families.contains(preferred) || families.isEmpty())
        return preferred;
    return families.first();
}

QFont FontOf(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

// Looking the families up once is enough: fonts are not installed while the editor runs.
QFont JapaneseFont(int pixelSize)
{
    static const QString family = JapaneseFamily(QStringLiteral("IPAPGothic"));
    return FontOf(family, pixelSize);
}

QFont JapaneseFixedFont(int pixelSize)
{
    static const QString family = JapaneseFamily(QStringLiteral("IPAGothic"));
    return FontOf(family, pixelSize);
}

} // namespace kt63
