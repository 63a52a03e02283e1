#include "apptestmain.h"
#include "errorguard.h"
#include "exception.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>
#include <vector>

using namespace kt63;

namespace {

// Counts its mouse presses and throws from those it is told to.
class ThrowingWidget : public QWidget
{
public:
    int presses = 0;
    int throwOnPress = 0; // 1-based; 0 for never
    bool grabBeforeThrow = false;
    std::function<void()> thrower;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (presses != throwOnPress)
            return;
        if (grabBeforeThrow)
            grabMouse();
        thrower();
    }
};

} // namespace

class TestErrorGuard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void messageShown_data();
    void messageShown();
    void slotErrorKeepsEarlierChanges();
    void timerEventError();
    void mouseGrabLetGo();
    void runGuarded();
    void modalBox();

private:
    std::vector<ErrorBoxContent> mBoxes;
};

void TestErrorGuard::init()
{
    mBoxes.clear();
    SetErrorBoxRunner([this](const ErrorBoxContent& box) { mBoxes.push_back(box); });
}

void TestErrorGuard::cleanup()
{
    SetErrorBoxRunner({});
}

void TestErrorGuard::messageShown_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("file-open-error") << 0 << "ﾌｧｲﾙ /tmp/x.dll は開けません"
                                     << "ﾌｧｲﾙ /tmp/x.dll は開けません.";
    QTest::newRow("full-stop-doubled") << 1 << "Already ends."
                                       << "Already ends..";
    QTest::newRow("own-exception") << 1 << "範囲外"
                                   << "範囲外.";
    QTest::newRow("standard-exception") << 2 << "bad thing"
                                        << "bad thing.";
    QTest::newRow("empty-message") << 1 << ""
                                   << ".";
}

// The press that throws is answered by the box; the press after it is handled as usual.
void TestErrorGuard::messageShown()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    ThrowingWidget widget;
    widget.resize(50, 50);
    widget.show();
    widget.throwOnPress = 1;
    const std::string text = message.toStdString();
    widget.thrower = [kind, text] {
        if (kind == 0)
            throw EFOpenError("/tmp/x.dll");
        if (kind == 1)
            throw Exception(text);
        throw std::runtime_error(text);
    };

    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(widget.presses, 1);
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(mBoxes[0].text, shown);
    QCOMPARE(mBoxes[0].caption, QStringLiteral("KT63ﾕﾆｯﾄｴﾃﾞｨﾀ"));
    QCOMPARE(mBoxes[0].icon, QMessageBox::Critical);

    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(widget.presses, 2);
    QCOMPARE(mBoxes.size(), size_t(1));
}

void TestErrorGuard::slotErrorKeepsEarlierChanges()
{
    QPushButton button;
    button.resize(60, 30);
    button.show();
    int before = 0;
    int after = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] {
        ++before;
        if (before == 1)
            throw Exception("途中");
        ++after;
    });

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(before, 1);
    QCOMPARE(after, 0);
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(mBoxes[0].text, QStringLiteral("途中."));
    QVERIFY(!button.isDown());

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(before, 2);
    QCOMPARE(after, 1);
    QCOMPARE(mBoxes.size(), size_t(1));
}

// Timers are delivered by the event loop as well; the loop goes on after an error.
void TestErrorGuard::timerEventError()
{
    int ran = 0;
    QTimer::singleShot(0, [] { throw Exception("一"); });
    QTimer::singleShot(0, [&] { ++ran; });
    QCoreApplication::processEvents();
    QCOMPARE(ran, 1);
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(mBoxes[0].text, QStringLiteral("一."));
}

void TestErrorGuard::mouseGrabLetGo()
{
    ThrowingWidget widget;
    widget.resize(50, 50);
    widget.show();
    widget.throwOnPress = 1;
    widget.grabBeforeThrow = true;
    QWidget* grabberAtBox = &widget;
    SetErrorBoxRunner([&](const ErrorBoxContent& box) {
        grabberAtBox = QWidget::mouseGrabber();
        mBoxes.push_back(box);
    });
    widget.thrower = [&] {
        QCOMPARE(QWidget::mouseGrabber(), &widget);
        throw Exception("grab");
    };

    QTest::mousePress(&widget, Qt::LeftButton);
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(grabberAtBox, nullptr);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
}

void TestErrorGuard::runGuarded()
{
    int steps = 0;
    QVERIFY(RunGuarded([&] { ++steps; }));
    QVERIFY(!RunGuarded([&] {
        ++steps;
        throw EFOpenError("WN.dat");
    }));
    QCOMPARE(steps, 2);
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(mBoxes[0].text, QString::fromStdString(EFOpenError("WN.dat").message() + "."));

    ShowException(std::runtime_error("direct"));
    QCOMPARE(mBoxes.size(), size_t(2));
    QCOMPARE(mBoxes[1].text, QStringLiteral("direct."));
}

// Without a runner the real box comes up, application modal, and is answered here.
void TestErrorGuard::modalBox()
{
    SetErrorBoxRunner({});
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        modality = box->windowModality();
        box->button(QMessageBox::Ok)->click();
    });

    QVERIFY(!RunGuarded([] { throw Exception("ﾌｧｲﾙ a は開けません"); }));
    QCOMPARE(text, QStringLiteral("ﾌｧｲﾙ a は開けません."));
    QCOMPARE(caption, QStringLiteral("KT63ﾕﾆｯﾄｴﾃﾞｨﾀ"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(modality, Qt::ApplicationModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

KT63_APP_TEST_MAIN(TestErrorGuard)
#include "tst_errorguard.moc"
