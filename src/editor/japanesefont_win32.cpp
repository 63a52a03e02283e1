#include "japanesefontname.h"

#include <QByteArray>
#include <QFontDatabase>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63 {

namespace {

// The bytes of the font the program carries under the resource name `family`
// (japanesefonts.rc), which stay in memory as long as the program runs.
QByteArray CarriedFont(const QString& family)
{
    const std::wstring name = family.toStdWString();
    const HRSRC resource = ::FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10));
    const HGLOBAL loaded = resource ? ::LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return QByteArray::fromRawData(static_cast<const char*>(bytes),
                                   static_cast<qsizetype>(::SizeofResource(nullptr, resource)));
}

} // namespace

// Windows has no IPA fonts, and the layout was drawn for them: the program carries them and
// adds the one asked for to its own font database.
std::optional<QString> ListedName(const QFont& font, const QStringList& /*listed*/)
{
    const QByteArray carried = CarriedFont(font.family());
    if (carried.isEmpty())
        return std::nullopt;
    const QStringList families =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(carried));
    if (families.isEmpty())
        return std::nullopt;
    return families.first();
}

} // namespace kt63
