#pragma once

#include <QPixmap>

class QIcon;
class QString;

namespace kt63 {

// The two pictures of a tool button glyph: the one drawn while the button is enabled and its
// grey embossed copy for a disabled button.
struct GlyphImages
{
    QPixmap normal;
    QPixmap disabled;
};

// The resource path of one of the editor's pictures: the glyphs "OpenBtn", "SaveBtn", "ExitBtn"
// and "Read", and "ApplicationIcon", "AboutBoxIcon" and "ProgramIcon". Makes sure the pictures
// are registered, so the path can be opened right away.
QString PictureResourcePath(const QString& name);

// Loads a glyph bitmap whole, both images side by side, with the colour of its bottom-left pixel
// made transparent. An unknown name gives a null pixmap.
QPixmap LoadGlyphBitmap(const QString& name);

// Loads a glyph bitmap and cuts it into its left (normal) and right (disabled) halves, both
// transparent where the bitmap has its bottom-left colour. An unknown name gives null pixmaps.
GlyphImages LoadGlyph(const QString& name);

// The glyph as an icon that a tool button draws in its normal and its disabled state.
QIcon GlyphIcon(const QString& name);

// The application's icon, 32 x 32: the cross without the ribbon on a transparent background.
QIcon ApplicationIcon();

// The about box's window icon, 32 x 32: the cross hanging from its ribbon.
QIcon AboutBoxIcon();

// The 48 x 48 picture of the about box: the cross on white.
QPixmap ProgramIconPicture();

} // namespace kt63
