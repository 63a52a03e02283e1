#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kt63 {
class HeldDataFile;
class TSDIAppForm;
} // namespace kt63

namespace kt63::bench {

// A temporary working directory holding the sample "WN.dat" and two scratch copies of the
// sample data file: one for the window, one for the data library alone, so that each can hold
// its copy open for writing and saves harm no file that matters. The working directory is put
// back when the workspace goes. Only one exists at a time; main() makes it after the
// application object and drops it before.
class EditorWorkspace
{
public:
    EditorWorkspace();
    ~EditorWorkspace();
    EditorWorkspace(const EditorWorkspace&) = delete;
    EditorWorkspace& operator=(const EditorWorkspace&) = delete;

    static EditorWorkspace& Current();

    // The number of names found in the sample "WN.dat", and its list number.
    int32_t NameCount() const { return mNameCount; }
    int32_t ListNumber() const { return mListNumber; }

    // One window, built and shown on first use and kept, with the window's scratch copy
    // dropped on it. The commands are measured on it.
    TSDIAppForm& ShownForm();

    // The data library's scratch copy, opened as the window opens its data file.
    HeldDataFile& DataFile();

private:
    QString mStartDir;
    QTemporaryDir mDir;
    int32_t mNameCount = 0;
    int32_t mListNumber = 0;
    std::unique_ptr<TSDIAppForm> mForm;
    std::unique_ptr<HeldDataFile> mDataFile;
};

// How long the two steps of bringing up a window took, in seconds.
struct BuildTimes
{
    double build = 0; // the constructor with its "WN.dat" read, and the creation handler
    double show = 0;  // from show() until the platform reports the window exposed
};

// Brings a window up as the program does: builds it in the working directory, runs its
// creation handler, shows it and processes events until the platform reports it exposed
// (which paints it for the first time). Throws if that takes longer than a few seconds.
std::unique_ptr<TSDIAppForm> BuildAndShowForm(BuildTimes& times);

// Takes a window from BuildAndShowForm down again, with what it left for the event loop.
void TakeDownForm(std::unique_ptr<TSDIAppForm> form);

// The list indexes the weapon pick walks: pseudo-random entries that name a weapon, so that
// each pick moves to another record somewhere in the tables.
inline constexpr size_t SequenceLength = 256;
const std::vector<int32_t>& PickIndices();

// The tabs the tab change walks: pseudo-random, each different from the one before.
const std::vector<int32_t>& TabSequence();

} // namespace kt63::bench
