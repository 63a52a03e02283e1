#include "cp932.h"
#include "samplefiles.h"
#include "xwindowdriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using kt63::test::XWindowDriver;

namespace {

// How long the program may take to come up or go down; a deadline, never a measurement.
constexpr auto kPatience = 30s;

// A name list file of our own making: names in code page 932 between zero bytes, then the
// list number 1 in two bytes.
QByteArray NameListBytes()
{
    QByteArray bytes(1, '\0');
    for (const char* name : {"ﾀｲｶﾞｰ", "兵器一", "Panzer IV"}) {
        bytes += QByteArray::fromStdString(kt63::EncodeCp932(name));
        bytes += '\0';
    }
    bytes += QByteArray("\x01\x00", 2);
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The files the process holds open, by their canonical paths.
QStringList OpenFiles(const QProcess& program)
{
    QStringList files;
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(program.processId()));
    for (const QFileInfo& descriptor :
         descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        files << QFileInfo(descriptor.symLinkTarget()).canonicalFilePath();
    return files;
}

} // namespace

// The built program, started as a user would start it, on a display of its own; its windows are
// answered from outside, so that the program carries no way in for tests.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noNameListFile();
    void closingTheWindow();
    void openThroughTheDialog();

private:
    void Start(QProcess& program, const QString& folder, const QStringList& arguments = {});

    QTemporaryDir mRuntime;
};

void TestProgram::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display; ctest runs this test under xvfb-run");
    QVERIFY(mRuntime.isValid());
    QVERIFY(QFile::setPermissions(mRuntime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestProgram::Start(QProcess& program, const QString& folder, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), mRuntime.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.setProgram(QStringLiteral(KT63UE_PATH));
    program.setArguments(arguments);
    program.start();
    QVERIFY(program.waitForStarted());
}

void TestProgram::noNameListFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    XWindowDriver display;
    QVERIFY(display.IsOpen());
    QProcess program;
    Start(program, folder.path());

    const XWindowDriver::WindowId box = display.WaitForWindow(QStringLiteral("kt63ue"), kPatience);
    QVERIFY(box);
    QCOMPARE(display.ShownTitles(), QStringList{"kt63ue"});
    QCOMPARE(program.state(), QProcess::Running);

    display.PressReturn(box);
    QVERIFY(program.waitForFinished(int(std::chrono::milliseconds(kPatience).count())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 3);
    QVERIFY(QString::fromUtf8(program.readAllStandardError())
                .contains(QStringLiteral("ﾌｧｲﾙ WN.dat は開けません")));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestProgram::closingTheWindow()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString nameList = folder.filePath(QStringLiteral("WN.dat"));
    QFile file(nameList);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(NameListBytes());
    file.close();
    XWindowDriver display;
    QVERIFY(display.IsOpen());
    QProcess program;
    Start(program, folder.path());

    const XWindowDriver::WindowId window =
        display.WaitForWindow(QStringLiteral("KT63UE"), kPatience);
    QVERIFY(window);
    QVERIFY(!display.ShownTitles().contains(QStringLiteral("kt63ue")));
    QCOMPARE(program.state(), QProcess::Running);

    display.Close(window);
    QVERIFY(program.waitForFinished(int(std::chrono::milliseconds(kPatience).count())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), NameListBytes());
}

// The open dialog speaks Japanese and opens what it is given; a typed name of a file that does
// not exist is opened too, and that fails with the editor's own error, after the file held
// before has been closed. The program is started with options of Qt's, which it must not read:
// with "-platform offscreen" read, no window would come up on this display at all.
void TestProgram::openThroughTheDialog()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    WriteFile(folder.filePath(QStringLiteral("WN.dat")), NameListBytes());
    const QString dataFile = QDir(folder.path()).canonicalPath() + QStringLiteral("/Qelvint.dll");
    WriteFile(dataFile, kt63::sample::MakeSampleDataFile(1));
    XWindowDriver display;
    QVERIFY(display.IsOpen());
    QProcess program;
    Start(program, folder.path(),
          {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse")});
    const XWindowDriver::WindowId window =
        display.WaitForWindow(QStringLiteral("KT63UE"), kPatience);
    QVERIFY(window);

    display.PressKey(window, "f", XWindowDriver::Alt);
    display.PressKey(window, "o");
    XWindowDriver::WindowId dialog = display.WaitForWindow(QStringLiteral("開く"), kPatience);
    QVERIFY(dialog);
    display.PressReturn(dialog); // the name the dialog is preset to, "Qelvint.dll"
    QVERIFY(display.WaitForWindow(dataFile, kPatience));
    QVERIFY(OpenFiles(program).contains(dataFile));

    display.PressKey(window, "f", XWindowDriver::Alt);
    display.PressKey(window, "o");
    dialog = display.WaitForWindow(QStringLiteral("開く"), kPatience);
    QVERIFY(dialog);
    display.PressKey(dialog, "a", XWindowDriver::Control);
    display.Type(dialog, QStringLiteral("missing.dll"));
    display.PressReturn(dialog);
    const XWindowDriver::WindowId box =
        display.WaitForWindow(QStringLiteral("KT63ﾕﾆｯﾄｴﾃﾞｨﾀ"), kPatience);
    QVERIFY(box);
    QVERIFY(!OpenFiles(program).contains(dataFile));
    QVERIFY(display.ShownTitles().contains(dataFile));

    display.PressReturn(box);
    display.Close(window);
    QVERIFY(program.waitForFinished(int(std::chrono::milliseconds(kPatience).count())));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
