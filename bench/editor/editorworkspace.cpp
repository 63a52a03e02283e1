#include "editorworkspace.h"

#include "datalayout.h"
#include "helddatafile.h"
#include "namelistfile.h"
#include "namescan.h"
#include "samplefiles.h"
#include "tapplication.h"
#include "tsdiappform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QWindow>

#include <chrono>
#include <random>
#include <stdexcept>

namespace kt63::bench {

namespace {

EditorWorkspace* gCurrent = nullptr;

// The seed of the sample files; any seed gives files of the same shape.
constexpr uint32_t SampleSeed = 1;

const char* const WindowCopy = "window-scratch.dll";
const char* const DataCopy = "data-scratch.dll";

void Require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

} // namespace

EditorWorkspace::EditorWorkspace() : mStartDir(QDir::currentPath())
{
    Require(gCurrent == nullptr, "only one editor workspace at a time");
    Require(mDir.isValid(), "cannot make a temporary folder");
    const QString error = sample::WriteSampleFiles(mDir.path(), SampleSeed);
    Require(error.isEmpty(), error);
    const QString sampleData = mDir.filePath("Qelvint.dll");
    Require(QFile::copy(sampleData, mDir.filePath(WindowCopy)) &&
                QFile::copy(sampleData, mDir.filePath(DataCopy)),
            "cannot copy " + sampleData);
    Require(QDir::setCurrent(mDir.path()), "cannot enter " + mDir.path());

    const NameListFile list = ReadNameListFile("WN.dat");
    ScanNames(list.namesArea.data(), static_cast<int32_t>(list.namesArea.size()),
              [this](std::string_view) { ++mNameCount; });
    mListNumber = list.listNumber;
    Require(mListNumber >= 0 && mListNumber < mNameCount, "the sample list names no weapon");
    mDataFile = std::make_unique<HeldDataFile>(DataCopy, HeldDataFile::Access::ReadWrite);
    gCurrent = this;
}

EditorWorkspace::~EditorWorkspace()
{
    gCurrent = nullptr;
    if (mForm)
        TakeDownForm(std::move(mForm));
    mDataFile.reset();
    QDir::setCurrent(mStartDir);
}

EditorWorkspace& EditorWorkspace::Current()
{
    Require(gCurrent != nullptr, "no editor workspace");
    return *gCurrent;
}

TSDIAppForm& EditorWorkspace::ShownForm()
{
    if (!mForm) {
        BuildTimes times;
        mForm = BuildAndShowForm(times);
        mForm->FormDropFiles({mDir.filePath(WindowCopy)});
        QCoreApplication::processEvents();
    }
    return *mForm;
}

HeldDataFile& EditorWorkspace::DataFile()
{
    return *mDataFile;
}

std::unique_ptr<TSDIAppForm> BuildAndShowForm(BuildTimes& times)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    auto form = std::make_unique<TSDIAppForm>();
    form->FormCreate();
    const Clock::time_point created = Clock::now();
    form->show();
    const QDeadlineTimer deadline(5000);
    while (!form->windowHandle() || !form->windowHandle()->isExposed()) {
        Require(!deadline.hasExpired(), "the window was not exposed within 5 s");
        QCoreApplication::processEvents();
    }
    const Clock::time_point exposed = Clock::now();
    times.build = std::chrono::duration<double>(created - start).count();
    times.show = std::chrono::duration<double>(exposed - created).count();
    return form;
}

void TakeDownForm(std::unique_ptr<TSDIAppForm> form)
{
    form.reset();
    // The hint handler would otherwise point at the window just taken down.
    if (TApplication* application = TApplication::Instance())
        application->SetOnHint({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

const std::vector<int32_t>& PickIndices()
{
    static const std::vector<int32_t> indices = [] {
        const EditorWorkspace& workspace = EditorWorkspace::Current();
        std::mt19937 engine(1924);
        std::uniform_int_distribution<int32_t> index(workspace.ListNumber(),
                                                     workspace.NameCount() - 1);
        std::vector<int32_t> list(SequenceLength);
        for (int32_t& i : list)
            i = index(engine);
        return list;
    }();
    return indices;
}

const std::vector<int32_t>& TabSequence()
{
    static const std::vector<int32_t> tabs = [] {
        std::mt19937 engine(8);
        std::uniform_int_distribution<int32_t> step(1, ArmamentTabCount - 1);
        std::vector<int32_t> list(SequenceLength);
        int32_t tab = 0;
        for (int32_t& t : list)
            t = tab = (tab + step(engine)) % ArmamentTabCount;
        return list;
    }();
    return tabs;
}

} // namespace kt63::bench
