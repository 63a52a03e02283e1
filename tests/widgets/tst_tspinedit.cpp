#include "systembeep.h"
#include "tspinbutton.h"
#include "tspinedit.h"
#include "ttimerspeedbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QTest>

#include <memory>

using kt63::TSpinEdit;

namespace {

int gBeeps = 0;

void CountBeep()
{
    ++gBeeps;
}

int KeyFor(QChar c)
{
    if (c == u'\r') {
        return Qt::Key_Return;
    }
    if (c == u'\b') {
        return Qt::Key_Backspace;
    }
    // Qt's key codes of printable ASCII are the upper-case characters themselves.
    return c.unicode() < 128 ? int{c.toUpper().unicode()} : int{Qt::Key_unknown};
}

// Types each character as a key press carrying it, as the keyboard would deliver it.
void Type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, KeyFor(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, KeyFor(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QAction* MenuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(text)) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

class TestSpinEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void newField();
    void read_data();
    void read();
    void limitsOnlyStored();
    void write_data();
    void write();
    void step_data();
    void step();
    void arrowsStep_data();
    void arrowsStep();
    void typing_data();
    void typing();
    void chords_data();
    void chords();
    void paste_data();
    void paste();
    void contextMenu_data();
    void contextMenu();
    void cut_data();
    void cut();
    void inputMethodKeptOut_data();
    void inputMethodKeptOut();
};

void TestSpinEdit::initTestCase()
{
    // The decimal separator of the usual Japanese setting.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    kt63::SetBeepHandler(CountBeep);
}

void TestSpinEdit::init()
{
    gBeeps = 0;
}

void TestSpinEdit::cleanupTestCase()
{
    kt63::SetBeepHandler(nullptr);
}

void TestSpinEdit::newField()
{
    TSpinEdit field;
    QCOMPARE(field.text(), QStringLiteral("0"));
    QCOMPARE(field.Value(), 0);
    QVERIFY(field.Button());
    QCOMPARE(field.Button()->parent(), &field);
}

void TestSpinEdit::read_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("empty-weapon-number") << 1 << 1921 << "" << 1 << "1";
    QTest::newRow("letters-in-year") << 0 << 99 << "12a" << 0 << "0";
    QTest::newRow("empty-without-limits") << 0 << 0 << "" << 0 << "0";
    QTest::newRow("negative-lower-limit") << -5 << 5 << "x" << -5 << "-5";
    QTest::newRow("out-of-range-not-applied") << 0 << 255 << "300" << 300 << "300";
    QTest::newRow("hex-kept-as-typed") << 0 << 255 << "$2A" << 42 << "$2A";
    QTest::newRow("padded-kept-as-typed") << 0 << 99 << " 007" << 7 << " 007";
    QTest::newRow("decimal-point") << 1 << 12 << "4.0" << 1 << "1";
}

void TestSpinEdit::read()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(QString, textAfter);
    TSpinEdit field;
    field.SetMinValue(minValue);
    field.SetMaxValue(maxValue);
    field.setText(text);
    QCOMPARE(field.Value(), value);
    QCOMPARE(field.text(), textAfter);
}

void TestSpinEdit::limitsOnlyStored()
{
    TSpinEdit field;
    field.setText(QStringLiteral("300"));
    field.SetMinValue(0);
    field.SetMaxValue(255);
    QCOMPARE(field.text(), QStringLiteral("300"));
    QCOMPARE(field.Value(), 300);
}

void TestSpinEdit::write_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("month-below") << 1 << 12 << 2 << 0 << "1";
    QTest::newRow("month-above") << 1 << 12 << 2 << 13 << "12";
    QTest::newRow("month-inside") << 1 << 12 << 2 << 7 << "7";
    QTest::newRow("byte-field-300") << 0 << 255 << 3 << 300 << "255";
    QTest::newRow("list-number-negative") << 0 << 561 << 3 << -999 << "0";
    QTest::newRow("no-limits-255") << 0 << 0 << 2 << 255 << "255";
    QTest::newRow("no-limits-negative") << 0 << 0 << 2 << -3 << "-3";
    QTest::newRow("no-limits-int32-min") << 0 << 0 << 2 << INT32_MIN << "-2147483648";
}

void TestSpinEdit::write()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, maxLength);
    QFETCH(int, value);
    QFETCH(QString, text);
    TSpinEdit field;
    field.SetMinValue(minValue);
    field.SetMaxValue(maxValue);
    field.SetMaxLength(maxLength);
    field.SetValue(value);
    QCOMPARE(field.text(), text);
}

void TestSpinEdit::step_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("textAfter");

    const int up = Qt::Key_Up;
    const int down = Qt::Key_Down;
    QTest::newRow("up-inside") << 0 << 255 << 1 << "5" << up << "6";
    QTest::newRow("down-inside") << 0 << 255 << 1 << "5" << down << "4";
    QTest::newRow("up-at-upper") << 0 << 255 << 1 << "255" << up << "255";
    QTest::newRow("down-at-lower") << 0 << 255 << 1 << "0" << down << "0";
    QTest::newRow("up-from-outside") << 0 << 255 << 1 << "300" << up << "255";
    QTest::newRow("up-invalid-text") << 1 << 12 << 1 << "abc" << up << "2";
    QTest::newRow("down-invalid-text") << 1 << 12 << 1 << "abc" << down << "1";
    QTest::newRow("up-invalid-equal-limits") << 5 << 5 << 1 << "" << up << "6";
    QTest::newRow("up-hex-text") << 0 << 255 << 1 << "$2A" << up << "43";
    QTest::newRow("increment-ten") << 0 << 99 << 10 << "95" << up << "99";
    QTest::newRow("no-limits-past-255") << 0 << 0 << 1 << "255" << up << "256";
    QTest::newRow("no-limits-below-zero") << 0 << 0 << 1 << "0" << down << "-1";
    QTest::newRow("saturates-at-int32-max") << 0 << 0 << 1 << "2147483647" << up << "2147483647";
    QTest::newRow("saturates-at-int32-min")
        << 0 << 0 << 1 << "-2147483648" << down << "-2147483648";
    QTest::newRow("full-range-limits-at-max")
        << INT32_MIN << INT32_MAX << 1 << "2147483647" << up << "2147483647";
    QTest::newRow("negative-increment") << 0 << 0 << -1 << "-2147483648" << up << "-2147483648";
}

void TestSpinEdit::step()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, textAfter);
    TSpinEdit field;
    field.SetMinValue(minValue);
    field.SetMaxValue(maxValue);
    field.SetIncrement(increment);
    field.setText(text);
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(field.text(), textAfter);
    QCOMPARE(gBeeps, 0);
}

void TestSpinEdit::arrowsStep_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("beeps");

    QTest::newRow("up-arrow") << true << false << "6" << 0;
    QTest::newRow("down-arrow") << false << false << "4" << 0;
    QTest::newRow("read-only-up-arrow") << true << true << "5" << 1;
    QTest::newRow("read-only-down-arrow") << false << true << "5" << 1;
}

void TestSpinEdit::arrowsStep()
{
    QFETCH(bool, up);
    QFETCH(bool, readOnly);
    QFETCH(QString, textAfter);
    QFETCH(int, beeps);
    TSpinEdit field;
    field.SetMaxValue(255);
    field.SetReadOnly(readOnly);
    field.setText(QStringLiteral("5"));
    field.resize(57, 28);
    field.show();
    kt63::TSpinButton* pair = field.Button();
    QTest::mouseClick(up ? pair->UpButton() : pair->DownButton(), Qt::LeftButton, {}, QPoint(7, 5));
    QCOMPARE(field.text(), textAfter);
    QCOMPARE(gBeeps, beeps);
    QTest::keyClick(&field, up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(gBeeps, 2 * beeps);
}

void TestSpinEdit::typing_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digits") << 0 << true << false << "1" << false << "23"
                            << "123" << 0;
    QTest::newRow("minus") << 0 << true << false << "" << false << "-"
                           << "-" << 0;
    QTest::newRow("plus") << 0 << true << false << "" << false << "+"
                          << "+" << 0;
    QTest::newRow("decimal-point") << 0 << true << false << "4" << false << "."
                                   << "4." << 0;
    QTest::newRow("letter") << 0 << true << false << "12" << false << "a"
                            << "12" << 1;
    QTest::newRow("hex-prefix") << 0 << true << false << "12" << false << "$"
                                << "12" << 1;
    QTest::newRow("blank") << 0 << true << false << "12" << false << " "
                           << "12" << 1;
    QTest::newRow("return") << 0 << true << false << "12" << false << "\r"
                            << "12" << 1;
    QTest::newRow("katakana") << 0 << true << false << "12" << false << "ｱ"
                              << "12" << 1;
    QTest::newRow("refused-then-accepted") << 0 << true << false << "1" << false << "a2b3"
                                           << "123" << 2;
    QTest::newRow("backspace") << 0 << true << false << "12" << false << "\b"
                               << "1" << 0;
    QTest::newRow("third-character") << 2 << true << false << "12" << false << "3"
                                     << "12" << 0;
    QTest::newRow("over-limit-written") << 2 << true << false << "255" << false << "1"
                                        << "255" << 0;
    QTest::newRow("selection-replaced") << 2 << true << false << "12" << true << "3"
                                        << "3" << 0;
    QTest::newRow("no-typing-digit") << 0 << false << false << "12" << false << "3"
                                     << "12" << 1;
    QTest::newRow("no-typing-backspace") << 0 << false << false << "12" << false << "\b"
                                         << "12" << 1;
    QTest::newRow("read-only-digit") << 0 << true << true << "12" << false << "3"
                                     << "12" << 1;
}

void TestSpinEdit::typing()
{
    QFETCH(int, maxLength);
    QFETCH(bool, editorEnabled);
    QFETCH(bool, readOnly);
    QFETCH(QString, text);
    QFETCH(bool, selectAll);
    QFETCH(QString, typed);
    QFETCH(QString, textAfter);
    QFETCH(int, beeps);
    TSpinEdit field;
    field.SetMaxLength(maxLength);
    field.SetEditorEnabled(editorEnabled);
    field.SetReadOnly(readOnly);
    field.setText(text);
    if (selectAll) {
        field.selectAll();
    }
    Type(&field, typed);
    QCOMPARE(field.text(), textAfter);
    QCOMPARE(gBeeps, beeps);
}

void TestSpinEdit::chords_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected");

    QTest::newRow("alt-digit-is-an-accelerator") << int{Qt::Key_1} << int{Qt::AltModifier} << "";
    QTest::newRow("alt-letter-is-an-accelerator") << int{Qt::Key_X} << int{Qt::AltModifier} << "";
    QTest::newRow("ctrl-a-selects-all") << int{Qt::Key_A} << int{Qt::ControlModifier} << "12";
}

// Chords type nothing and do not beep; Ctrl chords still reach the text box.
void TestSpinEdit::chords()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    TSpinEdit field;
    field.setText(QStringLiteral("12"));
    QTest::keyClick(&field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(field.text(), QStringLiteral("12"));
    QCOMPARE(field.selectedText(), selected);
    QCOMPARE(gBeeps, 0);
}

void TestSpinEdit::paste_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("unfiltered") << 0 << false << "1" << false << "a b"
                                << "1a b";
    QTest::newRow("cut-to-room") << 4 << false << "12" << false << "345678"
                                 << "1234";
    QTest::newRow("field-full") << 2 << false << "12" << false << "3"
                                << "12";
    QTest::newRow("replaces-selection") << 2 << false << "12" << true << "345"
                                        << "34";
    QTest::newRow("katakana") << 3 << false << "" << false << "ｱｲｳｴ"
                              << "ｱｲｳ";
    QTest::newRow("read-only") << 0 << true << "12" << false << "3"
                               << "12";
}

void TestSpinEdit::paste()
{
    QFETCH(int, maxLength);
    QFETCH(bool, readOnly);
    QFETCH(QString, text);
    QFETCH(bool, selectAll);
    QFETCH(QString, clipboard);
    QFETCH(QString, textAfter);
    TSpinEdit field;
    field.SetMaxLength(maxLength);
    field.SetReadOnly(readOnly);
    field.setText(text);
    if (selectAll) {
        field.selectAll();
    }
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keySequence(&field, QKeySequence::Paste);
    QCOMPARE(field.text(), textAfter);
    QCOMPARE(gBeeps, 0);
}

void TestSpinEdit::contextMenu_data()
{
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<bool>("cutEnabled");

    QTest::newRow("typing-enabled") << true << true;
    QTest::newRow("typing-disabled") << false << false;
}

void TestSpinEdit::contextMenu()
{
    QFETCH(bool, editorEnabled);
    QFETCH(bool, cutEnabled);
    TSpinEdit field;
    field.SetMaxLength(3);
    field.SetEditorEnabled(editorEnabled);
    field.setText(QStringLiteral("12"));
    field.setSelection(0, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("789"));
    const std::unique_ptr<QMenu> menu(field.CreateContextMenu());
    QAction* cut = MenuAction(menu.get(), QLineEdit::tr("Cu&t"));
    QAction* paste = MenuAction(menu.get(), QLineEdit::tr("&Paste"));
    QVERIFY(cut);
    QVERIFY(paste);
    QCOMPARE(cut->isEnabled(), cutEnabled);
    paste->trigger();
    QCOMPARE(field.text(), QStringLiteral("782"));
}

void TestSpinEdit::cut_data()
{
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("typing-enabled") << true << false << "3";
    QTest::newRow("typing-disabled") << false << false << "123";
    QTest::newRow("read-only") << true << true << "123";
}

void TestSpinEdit::cut()
{
    QFETCH(bool, editorEnabled);
    QFETCH(bool, readOnly);
    QFETCH(QString, textAfter);
    TSpinEdit field;
    field.SetEditorEnabled(editorEnabled);
    field.SetReadOnly(readOnly);
    field.setText(QStringLiteral("123"));
    field.setSelection(0, 2);
    QTest::keySequence(&field, QKeySequence::Cut);
    QCOMPARE(field.text(), textAfter);
}

void TestSpinEdit::inputMethodKeptOut_data()
{
    QTest::addColumn<QString>("commit");
    QTest::newRow("full-width-digits") << "４２";
    // Digits as keys would pass the filter; from an input method they must not.
    QTest::newRow("half-width-digits") << "42";
}

// A focused field tells the input method, asked by event or by call, that it takes no text;
// whatever an input method commits all the same is refused like a refused key.
void TestSpinEdit::inputMethodKeptOut()
{
    QFETCH(QString, commit);
    TSpinEdit field;
    field.SetMaxLength(4);
    field.setText(QStringLiteral("12"));
    field.show();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    QCOMPARE(QGuiApplication::focusObject(), &field);

    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(&field, &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), false);
    QCOMPARE(QGuiApplication::inputMethod()->queryFocusObject(Qt::ImEnabled, {}).toBool(), false);

    QInputMethodEvent committed;
    committed.setCommitString(commit);
    QApplication::sendEvent(&field, &committed);
    QCOMPARE(field.text(), QStringLiteral("12"));
    QCOMPARE(gBeeps, 1);
}

QTEST_MAIN(TestSpinEdit)
#include "tst_tspinedit.moc"
