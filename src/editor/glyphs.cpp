#include "glyphs.h"

#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QString>

// The resources live in a static library, whose unreferenced objects the linker would drop;
// registering them by hand keeps them in. The macro only works outside a namespace.
static void RegisterEditorPictures()
{
    Q_INIT_RESOURCE(editorpictures);
}

namespace kt63 {

QString PictureResourcePath(const QString& name)
{
    static const bool registered = (RegisterEditorPictures(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/editor/") + name;
}

namespace {

// Naming the format spares Qt from guessing it, which would load every image format plugin of
// the system at start-up to ask each whether it can read the picture.
const char* const kPictureFormat = "XPM";

QPixmap LoadPicture(const QString& name)
{
    return QPixmap(PictureResourcePath(name), kPictureFormat);
}

} // namespace

QPixmap LoadGlyphBitmap(const QString& name)
{
    const QImage image(PictureResourcePath(name), kPictureFormat);
    if (image.isNull()) {
        return QPixmap();
    }
    // Whatever colour sits in the bottom-left corner is the background, as the glyphs of the
    // platform the editor comes from are keyed; in all of ours it is olive.
    const QRgb key = image.pixel(0, image.height() - 1);
    QPixmap glyph = QPixmap::fromImage(image);
    glyph.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
    return glyph;
}

GlyphImages LoadGlyph(const QString& name)
{
    const QPixmap bitmap = LoadGlyphBitmap(name);
    if (bitmap.isNull()) {
        return {};
    }
    const int half = bitmap.width() / 2;
    return {bitmap.copy(0, 0, half, bitmap.height()), bitmap.copy(half, 0, half, bitmap.height())};
}

QIcon GlyphIcon(const QString& name)
{
    const GlyphImages images = LoadGlyph(name);
    QIcon icon;
    if (!images.normal.isNull()) {
        icon.addPixmap(images.normal, QIcon::Normal);
        icon.addPixmap(images.disabled, QIcon::Disabled);
    }
    return icon;
}

QIcon ApplicationIcon()
{
    return QIcon(LoadPicture(QStringLiteral("ApplicationIcon")));
}

QIcon AboutBoxIcon()
{
    return QIcon(LoadPicture(QStringLiteral("AboutBoxIcon")));
}

QPixmap ProgramIconPicture()
{
    return LoadPicture(QStringLiteral("ProgramIcon"));
}

} // namespace kt63
