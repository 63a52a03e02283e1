#include "japanesefont.h"
#include "japanesefontname.h"

#include <QFont>
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

// The name under which the font database lists the font's family in this locale, provided that
// the font asked for by it is the one Qt then draws with. A font lists its names in the order of
// the user's language: under a Japanese locale "IPAGothic" is listed as "IPAゴシック", and the
// Latin name is only an alias. The check loads the font at the size and hinting it is drawn
// with, which the window needs loaded anyway; any other size would be loaded for nothing.
std::optional<QString> ListedName(const QFont& font, const QStringList& listed)
{
    for (const QString& name : FontconfigValues(font.family(), FC_FAMILY)) {
        QFont named(font);
        named.setFamily(name);
        if (listed.contains(name) && QFontInfo(named).family() == name) {
            return name;
        }
    }
    return std::nullopt;
}

} // namespace kt63
