#include "spinglyphs.h"

#include <QBitmap>
#include <QColor>
#include <QPixmap>
#include <QPixmapCache>
#include <QString>

// The resources live in a static library, whose unreferenced objects the linker would drop;
// registering them by hand keeps them in. The macro only works outside a namespace.
static void RegisterSpinGlyphResources()
{
    Q_INIT_RESOURCE(spinglyphs);
}

namespace kt63 {

// Every field of the window shows the same two arrows: each is made transparent once and then
// shared from the pixmap cache.
QPixmap LoadSpinGlyph(const QString& name)
{
    static const bool registered = (RegisterSpinGlyphResources(), true);
    Q_UNUSED(registered);
    const QString path = QStringLiteral(":/glyphs/") + name;
    const QString cacheKey = QStringLiteral("kt63-transparent") + path;
    QPixmap glyph;
    if (QPixmapCache::find(cacheKey, &glyph)) {
        return glyph;
    }
    // Naming the format keeps Qt from loading every image plugin to guess it.
    glyph.load(path, "BMP");
    if (!glyph.isNull()) {
        glyph.setMask(glyph.createMaskFromColor(QColor(128, 128, 0), Qt::MaskInColor));
        QPixmapCache::insert(cacheKey, glyph);
    }
    return glyph;
}

} // namespace kt63
