// What the window does when other programs or the disk let a load or a save down: the file at
// the path is never touched, the values on the window stay, and the error says what happened.

#include "formfixture.h"

#include "datalayout.h"
#include "exception.h"
#include "scratchtmpfs.h"
#include "tcombobox.h"
#include "tsdiappform.h"
#include "tspinedit.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <system_error>
#include <unistd.h>

using namespace kt63;

namespace {

// The file's bytes, or an empty array when there is no file.
QByteArray BytesAt(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `command` and gives the message of the stream error it must raise.
template <class Command> QString FailureOf(Command command)
{
    try {
        command();
    } catch (const EStreamError& error) {
        return QString::fromStdString(error.message());
    }
    return QStringLiteral("(no error)");
}

void ChangeBehindTheEditor(const QString& change, const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (change == "replaced") {
        QFile::copy(path, path + ".new");
        QCOMPARE(std::rename((name + ".new").constData(), name.constData()), 0);
    } else if (change == "deleted") {
        QVERIFY(QFile::remove(path));
    } else {
        QCOMPARE(::truncate(name.constData(), 1000), 0);
    }
}

QString ExpectedWriteFailure(const QString& path, int error)
{
    return "ﾌｧｲﾙ " + path + " に書き込めません (" +
           QString::fromStdString(std::generic_category().message(error)) + ")";
}

} // namespace

class TstSdiAppFormFaults : public QObject
{
    Q_OBJECT

private slots:
    void heldFileChanged_data();
    void heldFileChanged();
    void fullFileSystem();
    void injectedFaults_data();
    void injectedFaults();
};

void TstSdiAppFormFaults::heldFileChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("message");
    const QString replaced = "ﾌｧｲﾙ %1 は他のﾌﾟﾛｸﾞﾗﾑに置き換えられました";
    const QString deleted = "ﾌｧｲﾙ %1 は削除されました";
    const QString cut = "ﾌｧｲﾙ %1 は他のﾌﾟﾛｸﾞﾗﾑに切り詰められました";
    QTest::newRow("replaced-load") << "replaced" << false << replaced;
    QTest::newRow("replaced-save") << "replaced" << true << replaced;
    QTest::newRow("deleted-load") << "deleted" << false << deleted;
    QTest::newRow("deleted-save") << "deleted" << true << deleted;
    QTest::newRow("truncated-load") << "truncated" << false << cut;
    QTest::newRow("truncated-save") << "truncated" << true << cut;
}

// Afterwards the window holds no data file, as after a failed open: a save writes nothing, and
// the next drop opens the file afresh.
void TstSdiAppFormFaults::heldFileChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, save);
    QFETCH(QString, message);
    test::FormFixture fixture(test::FormFixture::Files::NameListAndDataFile);
    TSDIAppForm& form = fixture.form();
    const QString path = fixture.path("Qelvint.dll");
    const QByteArray original = BytesAt(path);
    form.FormDropFiles({path});
    form.SpinEdit23w->SetValue(77);

    ChangeBehindTheEditor(change, path);
    const QByteArray atPath = BytesAt(path);
    QCOMPARE(FailureOf([&] { save ? form.WriteClick() : form.ReadClick(); }), message.arg(path));
    QVERIFY(BytesAt(path) == atPath);
    QCOMPARE(QFile::exists(path), change != "deleted");
    QCOMPARE(form.SpinEdit23w->Value(), 77);

    QFile::remove(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(original) == original.size());
    file.close();
    form.WriteClick();
    QVERIFY(BytesAt(path) == original);
    form.FormDropFiles({path});
    QCOMPARE(form.windowTitle(), path);
}

// A real file system without a free page where the armament entry lies: the weapon's fields go
// in, the entry's first write fails, and the save puts the weapon's fields back. At Exit, the
// list number's write into "WN.dat" fails the same way and the window stays open.
void TstSdiAppFormFaults::fullFileSystem()
{
    test::ScratchTmpfs tmpfs(8 << 20);
    if (!tmpfs.mounted())
        QSKIP(tmpfs.reason().c_str());
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmpfs.root().c_str());
    test::FormFixture fixture(test::FormFixture::Files::NameListAndDataFile);
    qputenv("TMPDIR", tmpdir);
    TSDIAppForm& form = fixture.form();
    const QString path = fixture.path("Qelvint.dll");
    const QString nameList = fixture.path("WN.dat");
    form.FormDropFiles({path});
    test::ScratchTmpfs::PunchHole(path.toStdString(), ArmamentEntryOffset(0, 0), 84);
    test::ScratchTmpfs::PunchHole(nameList.toStdString(), QFile(nameList).size() - 2, 2);
    tmpfs.FillUp();
    const QByteArray data = BytesAt(path);
    const QByteArray names = BytesAt(nameList);

    QCOMPARE(FailureOf([&] { form.WriteClick(); }), ExpectedWriteFailure(path, ENOSPC));
    QVERIFY(BytesAt(path) == data);

    form.show();
    QCOMPARE(FailureOf([&] { form.ExitItemClick(); }), ExpectedWriteFailure(nameList, ENOSPC));
    QVERIFY(BytesAt(nameList) == names);
    QVERIFY(form.isVisible());
}

// The fault library (tests/support) fails one call on the data file's descriptor, counted from
// the drop that opens it: the open reads the armament names (read 1) and weapon 1 (reads 2 to
// 50); a load then makes reads 51 to 99. How each call fails is the data tests' part; these rows
// show what the window keeps.
void TstSdiAppFormFaults::injectedFaults_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message"); // how it begins after "ﾌｧｲﾙ PATH "
    QTest::newRow("open_weapon_unreadable") << QByteArray("read:20") << "open"
                                            << "を読み込めません (Input/output error)";
    QTest::newRow("load_last_read_short") << QByteArray("shortread:99") << "load"
                                          << "を読み込めません (";
    QTest::newRow("save_sync_fails") << QByteArray("sync:1") << "save"
                                     << "に書き込めません (Input/output error)";
}

// A failed open leaves the window as it was, the names read before the failure unshown, and
// holds no file; a failed load leaves the values shown; a failed save leaves the file as it was.
void TstSdiAppFormFaults::injectedFaults()
{
    if (::dlsym(RTLD_DEFAULT, "kt63_fault_injection") == nullptr)
        QSKIP("the fault library is not loaded (ctest runs this with LD_PRELOAD)");
    QFETCH(QByteArray, fault);
    QFETCH(QString, command);
    QFETCH(QString, message);
    test::FormFixture fixture(test::FormFixture::Files::NameListAndDataFile);
    TSDIAppForm& form = fixture.form();
    const QString path = fixture.path("Qelvint.dll");
    const QByteArray original = BytesAt(path);

    qputenv("KT63_FAULT_PATH", QFile::encodeName(path));
    qputenv("KT63_FAULT", fault);
    QString failure;
    if (command == "open") {
        failure = FailureOf([&] { form.FormDropFiles({path}); });
    } else {
        form.FormDropFiles({path});
        form.SpinEdit23w->SetValue(77);
        failure = FailureOf([&] { command == "save" ? form.WriteClick() : form.ReadClick(); });
    }
    qunsetenv("KT63_FAULT");
    qunsetenv("KT63_FAULT_PATH");

    QVERIFY2(failure.startsWith("ﾌｧｲﾙ " + path + " " + message), qPrintable(failure));
    QVERIFY(BytesAt(path) == original);
    if (command == "open") {
        QCOMPARE(form.windowTitle(), QString("KT63UE"));
        QCOMPARE(form.ComboBox2->ItemCount(), 0);
        form.WriteClick(); // nothing is held: the save writes nowhere
        QVERIFY(BytesAt(path) == original);
    } else {
        QCOMPARE(form.SpinEdit23w->Value(), 77);
    }
}

QTEST_MAIN(TstSdiAppFormFaults)
#include "tst_sdiappformfaults.moc"
