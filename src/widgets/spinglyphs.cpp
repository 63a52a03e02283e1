#include "spinglyphs.h"

#include <QBitmap>
#include <QColor>
#include <QPixmap>
#include <QString>

// The resources live in a static library, whose unreferenced objects the linker would drop;
// registering them by hand keeps them in. The macro only works outside a namespace.
static void RegisterSpinGlyphResources()
{
    Q_INIT_RESOURCE(spinglyphs);
}

namespace kt63 {

QPixmap LoadSpinGlyph(const QString& name)
{
    static const bool registered = (RegisterSpinGlyphResources(), true);
    Q_UNUSED(registered);
    QPixmap glyph(QStringLiteral(":/glyphs/") + name);
    if (!glyph.isNull()) {
        glyph.setMask(glyph.createMaskFromColor(QColor(128, 128, 0), Qt::MaskInColor));
    }
    return glyph;
}

} // namespace kt63
