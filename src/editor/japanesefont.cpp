#include "japanesefont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>

namespace kt63 {

namespace {

struct FontconfigDeleter
{
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
    void operator()(FcObjectSet* objects) const { FcObjectSetDestroy(objects); }
    void operator()(FcFontSet* fonts) const { FcFontSetDestroy(fonts); }
};

template <class T> using FontconfigPtr = std::unique_ptr<T, FontconfigDeleter>;

} // namespace

QStringList FontconfigValues(const QString& family, const char* object)
{
    const FontconfigPtr<FcPattern> pattern(FcPatternCreate());
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(name.constData()));
    const FontconfigPtr<FcObjectSet> objects(FcObjectSetBuild(object, nullptr));
    const FontconfigPtr<FcFontSet> fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    QStringList values;
    for (int font = 0; fonts && font < fonts->nfont; ++font) {
        FcChar8* value = nullptr;
        for (int k = 0; FcPatternGetString(fonts->fonts[font], object, k, &value) == FcResultMatch;
             ++k) {
            values.append(QString::fromUtf8(reinterpret_cast<const char*>(value)));
        }
    }
    values.removeDuplicates();
    return values;
}

namespace {

QFont FontOf(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The name under which the font database lists `family` in this locale, provided that a font
// asked for by it is the one Qt then draws with. A font lists its names in the order of the
// user's language: under a Japanese locale "IPAGothic" is listed as "IPAゴシック", and the Latin
// name is only an alias.
std::optional<QString> ListedName(const QString& family, const QStringList& listed)
{
    for (const QString& name : FontconfigValues(family, FC_FAMILY)) {
        if (listed.contains(name) && QFontInfo(FontOf(name, 13)).family() == name) {
            return name;
        }
    }
    return std::nullopt;
}

// Where the font is missing, the first family the font database lists for Japanese serves.
QString JapaneseFamily(const QString& preferred)
{
    const QStringList listed = QFontDatabase::families(QFontDatabase::Japanese);
    if (const std::optional<QString> name = ListedName(preferred, listed)) {
        return *name;
    }
    return listed.isEmpty() ? preferred : listed.first();
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
