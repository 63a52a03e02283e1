#include "eoutofresources.h"
#include "guardedapplication.h"
#include "shiftjislimit.h"
#include "tcombobox.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QInputMethod>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using kt63::TComboBox;

namespace {

// A shown list of the editor's size whose events log the index and the text they see.
struct LoggedList
{
    QWidget window;
    TComboBox* list = new TComboBox(&window);
    QStringList log;

    explicit LoggedList(const QStringList& items, int start = -1)
    {
        window.resize(300, 100);
        list->setGeometry(64, 16, 217, 26);
        for (const QString& item : items)
            list->AppendItem(item);
        list->SetItemIndex(start);
        QObject::connect(list, &TComboBox::OnClick, list, [this] { log.append(seen("click")); });
        QObject::connect(list, &TComboBox::OnChange, list, [this] { log.append(seen("change")); });
    }

    QString seen(const char* event) const
    {
        return QString("%1:%2:%3").arg(event).arg(list->ItemIndex()).arg(list->Text());
    }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.activateWindow();
        list->setFocus();
        return list->hasFocus();
    }

    QWidget* popup() const { return list->view()->window(); }

    void pick(int row) const
    {
        list->showPopup();
        QAbstractItemView* view = list->view();
        const QRect rect = view->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

// Types `text` key by key; unlike QTest::keyClicks it takes characters beyond Latin-1.
void Type(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype size = text.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, size),
                            Qt::NoModifier);
        i += size - 1;
    }
}

QStringList Names(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString("name%1").arg(i));
    return names;
}

} // namespace

class TstTComboBox : public QObject
{
    Q_OBJECT

private slots:
    void arrowSteps_data();
    void arrowSteps();
    void popupPick_data();
    void popupPick();
    void typingFiresChangeOnly_data();
    void typingFiresChangeOnly();
    void wheelDoesNotSelect();
    void typingLimit_data();
    void typingLimit();
    void inputMethodCommitKeepsWhatFits();
    void maxLengthMeans255_data();
    void maxLengthMeans255();
    void pasteKeepsWhatFits_data();
    void pasteKeepsWhatFits();
    void contextMenuPasteKeepsWhatFits();
    void programTextIsNotCut();
    void handlerTextIsNotCut();
    void shiftJisLength_data();
    void shiftJisLength();
    void appendKeepsDuplicatesAndSelection();
    void appendRefused();
    void itemIndexFromCode_data();
    void itemIndexFromCode();
    void clearItems();
    void dropDownRows_data();
    void dropDownRows();
    void inputMethodSwitch();
    void throwingHandlerKeepsChoice();
};

void TstTComboBox::arrowSteps_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::addColumn<int>("finalIndex");

    const int down = Qt::Key_Down;
    const int up = Qt::Key_Up;
    QTest::newRow("down-from-none-to-the-end")
        << false << -1 << QList<int>{down, down, down, down}
        << QStringList{"click:0:a",  "change:0:a", "click:1:b",
                       "change:1:b", "click:2:c",  "change:2:c"}
        << 2;
    QTest::newRow("up-from-last") << false << 2 << QList<int>{up, up}
                                  << QStringList{"click:1:b", "change:1:b", "click:0:a",
                                                 "change:0:a"}
                                  << 0;
    QTest::newRow("up-at-first") << false << 0 << QList<int>{up} << QStringList() << 0;
    QTest::newRow("up-from-none") << false << -1 << QList<int>{up} << QStringList() << -1;
    QTest::newRow("page-keys-step-one")
        << false << 0 << QList<int>{int(Qt::Key_PageDown), int(Qt::Key_PageUp)}
        << QStringList{"click:1:b", "change:1:b", "click:0:a", "change:0:a"} << 0;
    // In the dropped-down list each step selects as well; Return then closes the list on the
    // item already chosen, Escape keeps it.
    QTest::newRow("dropped-down-then-return")
        << true << 0 << QList<int>{down, down, int(Qt::Key_Return)}
        << QStringList{"click:1:b", "change:1:b", "click:2:c", "change:2:c"} << 2;
    QTest::newRow("dropped-up-then-escape") << true << 2 << QList<int>{up, int(Qt::Key_Escape)}
                                            << QStringList{"click:1:b", "change:1:b"} << 1;
    QTest::newRow("dropped-down-at-last") << true << 2 << QList<int>{down} << QStringList() << 2;
}

void TstTComboBox::arrowSteps()
{
    QFETCH(bool, dropped);
    QFETCH(int, start);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, expectedLog);
    QFETCH(int, finalIndex);

    LoggedList list({"a", "b", "c"}, start);
    QVERIFY(list.show());
    if (dropped)
        list.list->showPopup();
    QWidget* target = dropped ? static_cast<QWidget*>(list.list->view()) : list.list;
    for (int key : keys)
        QTest::keyClick(target, Qt::Key(key));

    QCOMPARE(list.log, expectedLog);
    QCOMPARE(list.list->ItemIndex(), finalIndex);
}

void TstTComboBox::popupPick_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QStringList>("expectedLog");

    QTest::newRow("another-item") << 0 << "" << 2 << QStringList{"click:2:c", "change:2:c"};
    QTest::newRow("from-none") << -1 << "" << 1 << QStringList{"click:1:b", "change:1:b"};
    QTest::newRow("selected-item") << 1 << "" << 1 << QStringList();
    // The pick puts the item's text back over what was typed: a change the user sees.
    QTest::newRow("selected-item-after-typing")
        << 1 << "x" << 1 << QStringList{"change:1:bx", "click:1:b", "change:1:b"};
}

void TstTComboBox::popupPick()
{
    QFETCH(int, start);
    QFETCH(QString, typed);
    QFETCH(int, picked);
    QFETCH(QStringList, expectedLog);

    LoggedList list({"a", "b", "c"}, start);
    QVERIFY(list.show());
    list.list->lineEdit()->end(false);
    Type(list.list, typed);

    list.pick(picked);

    QVERIFY(!list.popup()->isVisible());
    QCOMPARE(list.log, expectedLog);
    QCOMPARE(list.list->ItemIndex(), picked);
}

// Typed text that matches an item, or the start of one, selects nothing, neither while typing
// nor when the box is left; the index keeps naming the item selected before.
void TstTComboBox::typingFiresChangeOnly_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("whole-item") << "def";
    QTest::newRow("start-of-item") << "de";
    QTest::newRow("other-case") << "DEF";
}

void TstTComboBox::typingFiresChangeOnly()
{
    QFETCH(QString, typed);

    LoggedList list({"abc", "def"}, 0);
    auto* other = new QLineEdit(&list.window);
    other->move(0, 60);
    QVERIFY(list.show());
    list.list->lineEdit()->selectAll();

    QTest::keyClicks(list.list, typed);
    QTest::keyClick(list.list, Qt::Key_Return);
    other->setFocus();

    QStringList expectedLog;
    for (qsizetype length = 1; length <= typed.size(); ++length)
        expectedLog.append("change:0:" + typed.left(length));
    QCOMPARE(list.log, expectedLog);
    QCOMPARE(list.list->ItemIndex(), 0);
    QCOMPARE(list.list->Text(), typed);
    QCOMPARE(list.list->ItemCount(), 2);
}

void TstTComboBox::wheelDoesNotSelect()
{
    LoggedList list({"a", "b", "c"}, 1);
    QVERIFY(list.show());
    const QPoint at = list.list->rect().center();
    QWheelEvent wheel(at, list.list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list.list, &wheel);

    QCOMPARE(list.list->ItemIndex(), 1);
    QCOMPARE(list.log, QStringList());
}

void TstTComboBox::typingLimit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii") << QString(25, u'a') << QString(24, u'a');
    QTest::newRow("full-width") << QString(13, u'あ') << QString(12, u'あ');
    QTest::newRow("half-width-katakana") << QString(25, u'ｱ') << QString(24, u'ｱ');
    QTest::newRow("full-width-would-straddle")
        << QString(23, u'a') + u'漢' + u'b' << QString(23, u'a') + u'b';
    QTest::newRow("mixed") << QString(11, u'あ') + "ｱｲｳ" << QString(11, u'あ') + "ｱｲ";
}

void TstTComboBox::typingLimit()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    LoggedList list({});
    list.list->SetMaxLength(24);
    QVERIFY(list.show());
    Type(list.list, typed);

    QCOMPARE(list.list->Text(), expected);
    QCOMPARE(kt63::ShiftJisLength(list.list->Text()), 24);
    // A refused character fires nothing.
    QCOMPARE(list.log.size(), expected.size());
}

// What the input method commits is held to the limit like typed characters.
void TstTComboBox::inputMethodCommitKeepsWhatFits()
{
    LoggedList list({});
    list.list->SetMaxLength(24);
    QVERIFY(list.show());
    Type(list.list, QString(10, u'兵'));
    list.log.clear();

    QInputMethodEvent commit;
    commit.setCommitString("あいう");
    QApplication::sendEvent(list.list, &commit);

    QCOMPARE(list.list->Text(), QString(10, u'兵') + "あい");
    QCOMPARE(list.log.size(), 1);
}

void TstTComboBox::maxLengthMeans255_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("limit");

    QTest::newRow("zero") << 0 << 255;
    QTest::newRow("negative") << -1 << 255;
    QTest::newRow("above-255") << 300 << 255;
    QTest::newRow("255") << 255 << 255;
    QTest::newRow("254") << 254 << 254;
    QTest::newRow("one") << 1 << 1;
}

void TstTComboBox::maxLengthMeans255()
{
    QFETCH(int, maxLength);
    QFETCH(int, limit);

    LoggedList list({});
    list.list->SetMaxLength(maxLength);
    QVERIFY(list.show());
    QTest::keyClicks(list.list, QString(256, u'x'));

    QCOMPARE(list.list->Text().size(), limit);
    QCOMPARE(list.list->TypingLimit(), limit);
}

void TstTComboBox::pasteKeepsWhatFits_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changes");

    const QString a21(21, u'a');
    QTest::newRow("at-end") << a21 << 21 << "ｱｲｳｴｵ" << a21 + "ｱｲｳ" << 1;
    QTest::newRow("at-start") << a21 << 0 << "ｱｲｳｴｵ"
                              << "ｱｲｳ" + a21 << 1;
    const QString a22(22, u'a');
    QTest::newRow("full-width-straddles") << a22 << 22 << "ｱ漢ｲ" << a22 + "ｱ" << 1;
    QTest::newRow("nothing-fits") << QString(24, u'a') << 24 << "ｱ" << QString(24, u'a') << 0;
}

void TstTComboBox::pasteKeepsWhatFits()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    QFETCH(int, changes);

    LoggedList list({});
    list.list->SetMaxLength(24);
    list.list->SetText(before);
    QVERIFY(list.show());
    list.list->lineEdit()->setCursorPosition(cursor);
    QGuiApplication::clipboard()->setText(clipboard);
    if (QGuiApplication::clipboard()->text() != clipboard)
        QSKIP("this platform has no clipboard");

    QTest::keyClick(list.list, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(list.list->Text(), expected);
    QCOMPARE(list.log.size(), changes);
}

// The context menu's Paste is the user's too. The menu runs inside the right click, so its
// action is chosen from a queued call once the menu is up.
void TstTComboBox::contextMenuPasteKeepsWhatFits()
{
    LoggedList list({});
    list.list->SetMaxLength(24);
    list.list->SetText(QString(22, u'a'));
    QVERIFY(list.show());
    list.list->lineEdit()->end(false);
    QGuiApplication::clipboard()->setText("ｱｲｳ");
    if (QGuiApplication::clipboard()->text() != "ｱｲｳ")
        QSKIP("this platform has no clipboard");

    bool pasted = false;
    QTimer::singleShot(0, list.list, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        // The standard menu names its actions only by text, which ends in the shortcut.
        const QString pasteKey =
            QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions()) {
            if (!pasted && action->text().endsWith(u'\t' + pasteKey)) {
                action->trigger();
                pasted = true;
            }
        }
        menu->close();
    });
    QLineEdit* edit = list.list->lineEdit();
    QContextMenuEvent click(QContextMenuEvent::Mouse, edit->rect().center(),
                            edit->mapToGlobal(edit->rect().center()));
    QApplication::sendEvent(edit, &click);

    QVERIFY(pasted);
    QCOMPARE(list.list->Text(), QString(22, u'a') + "ｱｲ");
}

// Text the program puts in may be longer than the limit; the user can then shorten it but not
// lengthen it.
void TstTComboBox::programTextIsNotCut()
{
    const QString longName = QString(20, u'兵');
    LoggedList list({longName});
    list.list->SetMaxLength(24);
    list.list->SetItemIndex(0);
    QCOMPARE(list.list->Text(), longName);
    QVERIFY(list.show());
    list.list->lineEdit()->end(false);

    QTest::keyClick(list.list, Qt::Key_A);
    QCOMPARE(list.list->Text(), longName);
    QTest::keyClick(list.list, Qt::Key_Backspace);
    QCOMPARE(list.list->Text(), QString(19, u'兵'));
    QCOMPARE(list.log, QStringList{"change:0:" + QString(19, u'兵')});
}

// A handler run from the user's typing is program code: what it puts in is not cut either.
void TstTComboBox::handlerTextIsNotCut()
{
    const QString longName = QString(20, u'兵');
    LoggedList list({longName});
    list.list->SetMaxLength(24);
    QVERIFY(list.show());
    QObject::connect(list.list, &TComboBox::OnChange, list.list, [&] {
        if (list.list->ItemIndex() < 0)
            list.list->setCurrentIndex(0);
    });

    QTest::keyClick(list.list, Qt::Key_A);

    QCOMPARE(list.list->Text(), longName);
}

void TstTComboBox::shiftJisLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");

    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ascii") << "Ab1 " << 4;
    QTest::newRow("half-width-katakana") << "ﾕﾆｯﾄｴﾃﾞｨﾀ" << 9;
    QTest::newRow("full-width") << "兵器リスト" << 10;
    QTest::newRow("circled-digit") << "武装①" << 6;
}

void TstTComboBox::shiftJisLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(kt63::ShiftJisLength(text), bytes);
}

void TstTComboBox::appendKeepsDuplicatesAndSelection()
{
    LoggedList list({});
    QVERIFY(list.show());
    QTest::keyClicks(list.list, "typed");
    list.log.clear();

    QCOMPARE(list.list->AppendItem("x"), 0);
    QCOMPARE(list.list->AppendItem("y"), 1);
    QCOMPARE(list.list->AppendItem("x"), 2);

    QCOMPARE(list.list->ItemCount(), 3);
    QCOMPARE(list.list->itemText(2), QString("x"));
    QCOMPARE(list.list->ItemIndex(), -1);
    QCOMPARE(list.list->Text(), QString("typed"));
    QCOMPARE(list.log, QStringList());
}

void TstTComboBox::appendRefused()
{
    TComboBox list;
    list.setMaxCount(2);
    list.AppendItem("a");
    // Of a run of names, those that fit are taken before the list refuses the next.
    try {
        list.AppendItems({"b", "c"});
        QFAIL("the third item was taken");
    } catch (const kt63::EOutOfResources& error) {
        QCOMPARE(QString::fromStdString(error.message()), QString("行を挿入できません"));
    }
    QCOMPARE(list.ItemCount(), 2);
    QCOMPARE(list.itemText(1), QString("b"));
    QVERIFY_THROWS_EXCEPTION(kt63::EOutOfResources, list.AppendItem("d"));
}

void TstTComboBox::itemIndexFromCode_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("finalIndex");
    QTest::addColumn<QString>("text");

    QTest::newRow("another-item") << 2 << 2 << "c";
    QTest::newRow("same-item") << 0 << 0 << "a";
    QTest::newRow("minus-1-empties") << -1 << -1 << "";
    QTest::newRow("past-the-end-empties") << 3 << -1 << "";
    QTest::newRow("below-minus-1-empties") << -5 << -1 << "";
}

void TstTComboBox::itemIndexFromCode()
{
    QFETCH(int, value);
    QFETCH(int, finalIndex);
    QFETCH(QString, text);

    LoggedList list({"a", "b", "c"}, 0);
    list.list->SetItemIndex(value);

    QCOMPARE(list.list->ItemIndex(), finalIndex);
    QCOMPARE(list.list->Text(), text);
    QCOMPARE(list.log, QStringList());
}

void TstTComboBox::clearItems()
{
    LoggedList list({"a", "b"}, 1);
    list.list->ClearItems();

    QCOMPARE(list.list->ItemCount(), 0);
    QCOMPARE(list.list->ItemIndex(), -1);
    QCOMPARE(list.list->Text(), QString());
    QCOMPARE(list.log, QStringList());
}

void TstTComboBox::dropDownRows_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("dropDownCount"); // 0: left at its default
    QTest::addColumn<int>("rows");

    QTest::newRow("3-items-of-20") << 3 << 20 << 3;
    QTest::newRow("no-items-room-for-1") << 0 << 20 << 1;
    QTest::newRow("30-items-show-20") << 30 << 20 << 20;
    QTest::newRow("20-items-show-20") << 20 << 20 << 20;
    QTest::newRow("default-shows-8") << 12 << 0 << 8;
    QTest::newRow("10-of-10") << 800 << 10 << 10;
}

void TstTComboBox::dropDownRows()
{
    QFETCH(int, items);
    QFETCH(int, dropDownCount);
    QFETCH(int, rows);

    LoggedList list(Names(items));
    if (dropDownCount > 0)
        list.list->SetDropDownCount(dropDownCount);
    QVERIFY(list.show());
    const int rowHeight = list.list->RowHeight();
    QVERIFY(rowHeight > 0);
    QCOMPARE(list.list->DropDownHeight(), rows * rowHeight + list.list->height() + 2);

    list.list->showPopup();
    QWidget* popup = list.popup();
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->height() + list.list->height(), list.list->DropDownHeight());
    QAbstractItemView* view = list.list->view();
    QCOMPARE(view->viewport()->height(), rows * rowHeight);
    int wholeRowsShown = 0;
    for (int row = 0; row < items; ++row) {
        if (view->viewport()->rect().contains(view->visualRect(list.list->model()->index(row, 0))))
            ++wholeRowsShown;
    }
    QCOMPARE(wholeRowsShown, std::min(items, rows));
    list.list->hidePopup();
    QVERIFY(!popup->isVisible());
}

// Asked by method call or by query event, as Qt's input method support does it.
void TstTComboBox::inputMethodSwitch()
{
    LoggedList list({});
    QVERIFY(list.show());
    QCOMPARE(QGuiApplication::focusObject(), list.list);
    const auto enabled = [&] {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(list.list, &query);
        const bool byEvent = query.value(Qt::ImEnabled).toBool();
        const bool byCall =
            QGuiApplication::inputMethod()->queryFocusObject(Qt::ImEnabled, {}).toBool();
        return byEvent == byCall ? QString::number(byEvent) : QString("disagree");
    };

    list.list->SetInputMethodEnabled(false);
    QCOMPARE(enabled(), QString("0"));
    list.list->SetInputMethodEnabled(true);
    QCOMPARE(enabled(), QString("1"));
}

void TstTComboBox::throwingHandlerKeepsChoice()
{
    auto* app = kt63::test::GuardedApplication::instance();
    app->caught.clear();
    LoggedList list({"a", "b", "c"}, 0);
    QVERIFY(list.show());
    QObject::connect(list.list, &TComboBox::OnClick, list.list,
                     [] { throw kt63::EOutOfResources("handler failed"); });

    QTest::keyClick(list.list, Qt::Key_Down);
    QCOMPARE(app->caught, QStringList{"handler failed"});
    QCOMPARE(list.list->ItemIndex(), 1);
    QCOMPARE(list.list->Text(), QString("b"));

    list.pick(2);
    QCOMPARE(app->caught.size(), 2);
    QCOMPARE(list.list->ItemIndex(), 2);
    QCOMPARE(list.list->Text(), QString("c"));
    // The rest of each action was abandoned: OnChange never came.
    QCOMPARE(list.log, (QStringList{"click:1:b", "click:2:c"}));
}

KT63_GUARDED_TEST_MAIN(TstTComboBox)
#include "tst_tcombobox.moc"
