#include "glyphs.h"

#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTest>

namespace {

const QRgb kOlive = qRgb(128, 128, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);

// The classic 16 colours: the only ones the pictures may use.
const QSet<QRgb> kClassicColours = {
    kBlack,          qRgb(128, 0, 0),   qRgb(0, 128, 0),   kOlive,
    qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), kSilver,
    kGrey,           qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), kWhite};

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage RawPicture(const QString& name)
{
    return Argb(QImage(kt63::PictureResourcePath(name)));
}

bool IsTransparent(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 0;
}

// The opaque colours of a picture, and how many opaque pixels it has.
QSet<QRgb> OpaqueColours(const QImage& image, int* count = nullptr)
{
    QSet<QRgb> colours;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!IsTransparent(image, x, y)) {
                colours.insert(image.pixel(x, y));
                ++opaque;
            }
        }
    }
    if (count != nullptr) {
        *count = opaque;
    }
    return colours;
}

} // namespace

class TestGlyphs : public QObject
{
    Q_OBJECT

private slots:
    void bitmap_data();
    void bitmap();
    void halves_data();
    void halves();
    void unknownName();
    void icon_data();
    void icon();
    void programPicture();
};

void TestGlyphs::bitmap_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("open-button") << "OpenBtn" << QSize(40, 20);
    QTest::newRow("save-button") << "SaveBtn" << QSize(40, 20);
    QTest::newRow("exit-button") << "ExitBtn" << QSize(40, 20);
    QTest::newRow("read-button") << "Read" << QSize(32, 16);
}

// At most 16 classic colours, olive in the bottom-left corner, and once loaded exactly the olive
// pixels are transparent while every other one stays as drawn.
void TestGlyphs::bitmap()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage raw = RawPicture(name);
    QCOMPARE(raw.size(), size);
    int opaque = 0;
    const QSet<QRgb> colours = OpaqueColours(raw, &opaque);
    QCOMPARE(opaque, size.width() * size.height());
    QVERIFY(colours.size() <= 16);
    QVERIFY(kClassicColours.contains(colours));
    QCOMPARE(raw.pixel(0, size.height() - 1), kOlive);

    const QImage loaded = Argb(kt63::LoadGlyphBitmap(name).toImage());
    QCOMPARE(loaded.size(), size);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (raw.pixel(x, y) == kOlive) {
                QVERIFY2(IsTransparent(loaded, x, y), qPrintable(QString("%1,%2").arg(x).arg(y)));
            } else {
                QCOMPARE(loaded.pixel(x, y), raw.pixel(x, y));
            }
        }
    }
}

void TestGlyphs::halves_data()
{
    bitmap_data();
}

// The normal image is the left half and the disabled one the right half, a grey and white
// relief; a tool button showing the glyph's icon draws each in its state.
void TestGlyphs::halves()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QSize half(size.width() / 2, size.height());
    const kt63::GlyphImages images = kt63::LoadGlyph(name);
    const QImage whole = Argb(kt63::LoadGlyphBitmap(name).toImage());
    const QImage normal = Argb(images.normal.toImage());
    const QImage disabled = Argb(images.disabled.toImage());
    QCOMPARE(normal, whole.copy(0, 0, half.width(), half.height()));
    QCOMPARE(disabled, whole.copy(half.width(), 0, half.width(), half.height()));
    QVERIFY(normal != disabled);

    int opaque = 0;
    QCOMPARE(OpaqueColours(disabled, &opaque), (QSet<QRgb>{kGrey, kWhite}));
    QVERIFY(opaque > half.width() * half.height() / 5);
    OpaqueColours(normal, &opaque);
    QVERIFY(opaque > half.width() * half.height() / 5);

    const QIcon icon = kt63::GlyphIcon(name);
    QCOMPARE(Argb(icon.pixmap(half, QIcon::Normal).toImage()), normal);
    QCOMPARE(Argb(icon.pixmap(half, QIcon::Disabled).toImage()), disabled);
}

void TestGlyphs::unknownName()
{
    QVERIFY(kt63::LoadGlyphBitmap("NoSuchGlyph").isNull());
    const kt63::GlyphImages images = kt63::LoadGlyph("NoSuchGlyph");
    QVERIFY(images.normal.isNull());
    QVERIFY(images.disabled.isNull());
    QVERIFY(kt63::GlyphIcon("NoSuchGlyph").isNull());
}

void TestGlyphs::icon_data()
{
    QTest::addColumn<QIcon>("icon");
    QTest::addColumn<QString>("name");
    QTest::newRow("application") << kt63::ApplicationIcon() << "ApplicationIcon";
    QTest::newRow("about-box") << kt63::AboutBoxIcon() << "AboutBoxIcon";
}

// 32 x 32, classic colours only, a transparent background around an opaque cross.
void TestGlyphs::icon()
{
    QFETCH(QIcon, icon);
    QFETCH(QString, name);
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    const QImage image = Argb(icon.pixmap(QSize(32, 32)).toImage());
    QCOMPARE(image, RawPicture(name));
    QVERIFY(IsTransparent(image, 0, 0));
    QVERIFY(IsTransparent(image, 31, 0));
    QVERIFY(IsTransparent(image, 0, 31));
    QVERIFY(IsTransparent(image, 31, 31));
    QCOMPARE(image.pixel(16, 20), kBlack); // inside the cross
    const QSet<QRgb> colours = OpaqueColours(image);
    QVERIFY(kClassicColours.contains(colours));
    QVERIFY(colours.contains(kOlive));
}

// 48 x 48 on white, nothing transparent.
void TestGlyphs::programPicture()
{
    const QImage image = Argb(kt63::ProgramIconPicture().toImage());
    QCOMPARE(image.size(), QSize(48, 48));
    int opaque = 0;
    const QSet<QRgb> colours = OpaqueColours(image, &opaque);
    QCOMPARE(opaque, 48 * 48);
    QVERIFY(colours.size() <= 16);
    QVERIFY(kClassicColours.contains(colours));
    QVERIFY(colours.contains(kSilver));
    for (const QPoint corner : {QPoint(0, 0), QPoint(47, 0), QPoint(0, 47), QPoint(47, 47)}) {
        QCOMPARE(image.pixel(corner), kWhite);
    }
    QCOMPARE(image.pixel(24, 24), kBlack);
}

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
