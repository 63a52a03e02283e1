// What the window does with a journal that kt63-table left beside the data file it opens: an
// apply cut off half way is rolled back before anything is shown, and a box says so; a journal
// it must not touch keeps the file from being opened, and the file is not written.

#include "formfixture.h"

#include "exception.h"
#include "rollbackjournal.h"
#include "tfilestream.h"
#include "tsdiappform.h"
#include "tspinedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace kt63;

namespace {

// Weapon 1's CanBeCarried, CarriedOnShips and Troops, which the window shows unbounded; the
// apply was cut off after the first two (or after all three, when it had finished).
const JournalEntry kFields[] = {{1550236, 4, {}, {}}, {1550240, 1, {}, {}}, {1550244, 1, {}, {}}};

// The box the window shows while the open runs, read and closed by a click on its button.
class BoxWatcher
{
public:
    BoxWatcher()
    {
        mTimer.setInterval(10);
        QObject::connect(&mTimer, &QTimer::timeout, [this] { CloseBox(); });
        mTimer.start();
    }

    QStringList texts;

private:
    void CloseBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !QTest::qWaitForWindowExposed(box))
            return;
        texts << box->text();
        if (!test::ClickAsUser(box->button(QMessageBox::Ok)))
            texts << "(the button was not under the pointer)";
    }

    QTimer mTimer;
};

} // namespace

class TestSdiAppFormJournal : public QObject
{
    Q_OBJECT

private slots:
    void openSettlesTheJournal_data();
    void openSettlesTheJournal();
};

void TestSdiAppFormJournal::openSettlesTheJournal_data()
{
    QTest::addColumn<QString>("journalIs");
    QTest::addColumn<QString>("said"); // %1 the data file, %2 the journal, %3 where it is kept
    QTest::addColumn<bool>("rolledBack");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("journalLeft"); // "", "journal" or "aside"
    QTest::newRow("unfinished")
        << "unfinished"
        << "box: ﾌｧｲﾙ %1 への書き込みは途中で止まっていました: %2 で 3 個の値を元に戻しました."
        << true << true << "";
    QTest::newRow("finished") << "finished"
                              << "box: ﾌｧｲﾙ %1 への書き込みは 3 個の値を全て書き終えていました: "
                                 "そのまま残し, %2 を削除しました."
                              << false << true << "";
    QTest::newRow("another-files")
        << "another-files"
        << "error: ﾌｧｲﾙ %2 は今のﾌｧｲﾙ %1 のｼﾞｬｰﾅﾙではありません: 開きません. %1 が正しいことを"
           "確かめてから %2 を削除してください"
        << false << false << "journal";
    QTest::newRow("damaged") << "damaged"
                             << "error: ﾌｧｲﾙ %2 は壊れています: ﾌｧｲﾙ %1 は途中まで書き換えられて"
                                "いるかもしれません. 壊れたｼﾞｬｰﾅﾙは %3 として残しました"
                             << false << false << "aside";
}

void TestSdiAppFormJournal::openSettlesTheJournal()
{
    QFETCH(QString, journalIs);
    QFETCH(QString, said);
    QFETCH(bool, rolledBack);
    QFETCH(bool, opens);
    QFETCH(QString, journalLeft);
    test::FormFixture fixture(test::FormFixture::Files::NameListAndDataFile);
    TSDIAppForm& form = fixture.form();
    const QString path = fixture.path("Qelvint.dll");
    const QString journalPath = path + "-kt63-journal";
    const QString aside = journalPath + "-damaged";
    const QByteArray original = test::ReadFile(path);
    QByteArray mixed = original;
    RollbackJournal journal{
        TFileStream(path.toStdString(), fmOpenRead | fmShareDenyNone).CurrentStatus().identity,
        original.size(),
        {}};
    for (size_t i = 0; i < std::size(kFields); ++i) {
        JournalEntry entry = kFields[i];
        for (int32_t b = 0; b < entry.width; ++b) {
            entry.before[b] = static_cast<uint8_t>(original[entry.offset + b]);
            entry.after[b] = entry.before[b] ^ 0x5A;
            if (i < 2 || journalIs == "finished")
                mixed[entry.offset + b] = static_cast<char>(entry.after[b]);
        }
        journal.entries.push_back(entry);
    }
    journal.identity.file += journalIs == "another-files" ? 1 : 0;
    std::vector<uint8_t> bytes = EncodeJournal(journal);
    bytes[50] ^= journalIs == "damaged" ? 1 : 0;
    test::WriteFile(path, mixed);
    test::WriteFile(journalPath, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<qsizetype>(bytes.size())));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    BoxWatcher boxes;
    QTimer::singleShot(0, form.OpenDialog(), [&] {
        form.OpenDialog()->selectFile(path);
        QMetaObject::invokeMethod(form.OpenDialog(), "accept");
    });
    QString error;
    try {
        form.OpenItemClick();
    } catch (const Exception& raised) {
        error = QString::fromStdString(raised.message());
    }
    QStringList seen;
    for (const QString& text : boxes.texts)
        seen << "box: " + text;
    if (!error.isEmpty())
        seen << "error: " + error;
    said.replace("%1", path).replace("%2", journalPath).replace("%3", aside);
    QCOMPARE(seen, QStringList{said});
    QCOMPARE(form.windowTitle() == QDir::toNativeSeparators(path), opens);
    // What the window shows was read after the journal was settled: weapon 1's CanBeCarried as
    // the file holds it now.
    const QByteArray now = test::ReadFile(path);
    QVERIFY2(now == (rolledBack ? original : mixed), "the file as the journal leaves it");
    int32_t carried = 0;
    std::memcpy(&carried, now.constData() + 1550236, 4);
    if (opens)
        QCOMPARE(form.SpinEdit21w->Value(), carried);
    QCOMPARE(QFile::exists(journalPath), journalLeft == "journal");
    QCOMPARE(QFile::exists(aside), journalLeft == "aside");
}

QTEST_MAIN(TestSdiAppFormJournal)
#include "tst_sdiappformjournal.moc"
