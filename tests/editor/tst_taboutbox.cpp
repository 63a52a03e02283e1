#include "taboutbox.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using kt63::TAboutBox;

namespace {

QWidget* Control(TAboutBox& box, const QString& name)
{
    return box.findChild<QWidget*>(name);
}

// Where the centre of the frame should be: the middle of the screen's free area.
QPoint ScreenCentre()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return QPoint(area.left() + area.width() / 2, area.top() + area.height() / 2);
}

void VerifyCentred(const TAboutBox& box)
{
    const QRect frame = box.frameGeometry();
    const QPoint centre = ScreenCentre();
    const QPoint frameCentre(frame.left() + frame.width() / 2, frame.top() + frame.height() / 2);
    QVERIFY2((frameCentre - centre).manhattanLength() <= 2,
             qPrintable(QString("frame centre %1,%2, screen centre %3,%4")
                            .arg(frameCentre.x())
                            .arg(frameCentre.y())
                            .arg(centre.x())
                            .arg(centre.y())));
    // The client area is off the centre by the frame's thickness at most.
    const QPoint clientCentre = box.geometry().center();
    const int frameSlack = frame.height() - box.height() + frame.width() - box.width();
    QVERIFY((clientCentre - centre).manhattanLength() <= frameSlack + 2);
}

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void frame();
    void font();
    void controls_data();
    void controls();
    void textsFit_data();
    void textsFit();
    void onlyOKButtonTakesFocus();
    void keys_data();
    void keys();
    void closeBoxCloses();
    void execIsModalAndAccepts();
    void centredOnScreen();
    void centredEveryTime();

private:
    std::unique_ptr<TAboutBox> mBox;
};

void TestAboutBox::init()
{
    mBox = std::make_unique<TAboutBox>();
}

void TestAboutBox::cleanup()
{
    mBox.reset();
}

void TestAboutBox::frame()
{
    QCOMPARE(mBox->objectName(), QString("AboutBox"));
    QCOMPARE(mBox->windowTitle(), QString("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(mBox->size(), QSize(298, 218));
    QCOMPARE(mBox->minimumSize(), QSize(298, 218));
    QCOMPARE(mBox->maximumSize(), QSize(298, 218));
    QVERIFY(!mBox->isSizeGripEnabled());
    const Qt::WindowFlags flags = mBox->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(mBox->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
}

void TestAboutBox::font()
{
    const QFont font = mBox->font();
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY(
        QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese));
    for (QLabel* label : mBox->findChildren<QLabel*>()) {
        QCOMPARE(label->font().pixelSize(), 12);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
}

void TestAboutBox::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    const QString box = "AboutBox";
    const QString panel = "Panel1";
    QTest::newRow("panel") << "Panel1" << box << QRect(8, 8, 281, 161) << "";
    QTest::newRow("program-icon") << "ProgramIcon" << panel << QRect(8, 8, 49, 49) << "";
    QTest::newRow("product-name") << "ProductName" << panel << QRect(88, 16, 134, 12)
                                  << "Product Name KT63Editer";
    QTest::newRow("version") << "Version" << panel << QRect(88, 40, 57, 12) << "Version 7.1";
    QTest::newRow("copyright") << "Copyright" << panel << QRect(8, 80, 97, 12)
                               << "Copyright (C) 2026 KT63UE developers";
    QTest::newRow("comments") << "Comments" << panel << QRect(8, 104, 54, 12) << "Comments";
    QTest::newRow("label1") << "Label1" << panel << QRect(64, 120, 169, 24)
                            << "Qelvint.dll Ver1.22c\nE-mail kt63ue@example.org";
    QTest::newRow("ok-button") << "OKButton" << box << QRect(120, 178, 65, 33) << "OK";
}

// Places are exact; a label's size is the designed one unless its text needs more, and then
// exactly what the text needs.
void TestAboutBox::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QWidget* control = Control(*mBox, name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->pos(), place.topLeft());
    QSize size = place.size();
    if (control == mBox->ProgramIcon) {
        QCOMPARE(mBox->ProgramIcon->pixmap().size(), QSize(48, 48));
    }
    if (auto* label = qobject_cast<QLabel*>(control); label != nullptr && !text.isEmpty()) {
        QCOMPARE(label->text(), text);
        const QSize needed =
            label->wordWrap()
                ? QSize(label->fontMetrics().horizontalAdvance(text),
                        label->heightForWidth(
                            std::max(size.width(), label->fontMetrics().horizontalAdvance(text))))
                : label->sizeHint();
        size = size.expandedTo(needed);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
    }
    QCOMPARE(control->size(), size);
}

void TestAboutBox::textsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("product-name") << "ProductName";
    QTest::newRow("version") << "Version";
    QTest::newRow("copyright") << "Copyright";
    QTest::newRow("comments") << "Comments";
    QTest::newRow("label1") << "Label1";
}

// No text is cut off, and every label stays inside the panel's frame.
void TestAboutBox::textsFit()
{
    QFETCH(QString, name);
    auto* label = mBox->findChild<QLabel*>(name);
    QVERIFY(label);
    const QFontMetrics metrics = label->fontMetrics();
    const QStringList lines = label->text().split('\n');
    for (const QString& line : lines) {
        QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
    }
    QVERIFY(int(lines.size()) * metrics.height() <= label->height());
    QVERIFY(mBox->Panel1->contentsRect().contains(label->geometry()));
}

void TestAboutBox::onlyOKButtonTakesFocus()
{
    const QList<QWidget*> children = mBox->findChildren<QWidget*>();
    QCOMPARE(children.size(), 8);
    for (QWidget* child : children) {
        const bool isOK = child == mBox->OKButton;
        QCOMPARE(child->focusPolicy() == Qt::NoFocus, !isOK);
    }
    mBox->show();
    QVERIFY(QTest::qWaitForWindowActive(mBox.get()));
    QCOMPARE(QApplication::focusWidget(), mBox->OKButton);
    QVERIFY(mBox->OKButton->isDefault());
}

void TestAboutBox::keys_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("return-on-button") << "OKButton" << int(Qt::Key_Return) << true;
    QTest::newRow("enter-on-button") << "OKButton" << int(Qt::Key_Enter) << true;
    QTest::newRow("return-on-panel") << "Panel1" << int(Qt::Key_Return) << true;
    QTest::newRow("return-on-label") << "ProductName" << int(Qt::Key_Return) << true;
    QTest::newRow("space-on-button") << "OKButton" << int(Qt::Key_Space) << true;
    QTest::newRow("escape-on-button") << "OKButton" << int(Qt::Key_Escape) << false;
    QTest::newRow("escape-on-panel") << "Panel1" << int(Qt::Key_Escape) << false;
    QTest::newRow("escape-on-box") << "AboutBox" << int(Qt::Key_Escape) << false;
}

void TestAboutBox::keys()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(bool, closes);
    mBox->show();
    QVERIFY(QTest::qWaitForWindowActive(mBox.get()));
    QSignalSpy accepted(mBox.get(), &QDialog::accepted);
    QSignalSpy rejected(mBox.get(), &QDialog::rejected);
    QWidget* widget = target == "AboutBox" ? mBox.get() : Control(*mBox, target);
    QVERIFY(widget);
    QTest::keyClick(widget, Qt::Key(key));
    QCOMPARE(mBox->isVisible(), !closes);
    QCOMPARE(accepted.count(), closes ? 1 : 0);
    QCOMPARE(rejected.count(), 0);
    if (closes) {
        QCOMPARE(mBox->result(), int(QDialog::Accepted));
    }
}

void TestAboutBox::closeBoxCloses()
{
    mBox->show();
    QVERIFY(QTest::qWaitForWindowExposed(mBox.get()));
    QSignalSpy finished(mBox.get(), &QDialog::finished);
    QVERIFY(mBox->close());
    QVERIFY(!mBox->isVisible());
    QCOMPARE(finished.count(), 1);
}

// Run as the menu command runs it: modal, ended by a click on OK.
void TestAboutBox::execIsModalAndAccepts()
{
    QWidget* modal = nullptr;
    QTimer::singleShot(0, mBox.get(), [this, &modal] {
        modal = QApplication::activeModalWidget();
        QTest::mouseClick(mBox->OKButton, Qt::LeftButton);
    });
    QCOMPARE(mBox->exec(), int(QDialog::Accepted));
    QCOMPARE(modal, mBox.get());
}

void TestAboutBox::centredOnScreen()
{
    mBox->show();
    QVERIFY(QTest::qWaitForWindowExposed(mBox.get()));
    VerifyCentred(*mBox);
}

// Two boxes one after the other come up at the same place, wherever their owner stands.
void TestAboutBox::centredEveryTime()
{
    QWidget owner;
    owner.setGeometry(10, 30, 650, 450);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    auto first = std::make_unique<TAboutBox>(&owner);
    first->show();
    QVERIFY(QTest::qWaitForWindowExposed(first.get()));
    VerifyCentred(*first);
    const QRect firstPlace = first->frameGeometry();
    first.reset();

    owner.move(120, 90);
    auto second = std::make_unique<TAboutBox>(&owner);
    second->show();
    QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    VerifyCentred(*second);
    QCOMPARE(second->frameGeometry(), firstPlace);
}

QTEST_MAIN(TestAboutBox)
#include "tst_taboutbox.moc"
