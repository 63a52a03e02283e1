#pragma once

#include "journalstore.h"
#include "testfiles.h"
#include "tstream.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace kt63::test {

// A disk that a crash can stop: what programs see of the data file and of its journal, and what
// a sync has put onto the medium. Each write, sync, creation and removal is one step, counted
// from 1 and named in `steps`. After step `stopAfter` the machine stops: the steps after it do
// nothing and fail, except that with `torn` the next one, when it writes, lands half. Faults
// without a stop: `failingSteps` steps from step `failingStep` on fail, and step
// `interruptAtStep` sets `interrupted`, as Ctrl+C would while it runs.
class ModelDisk
{
public:
    struct File
    {
        Bytes seen;             // what programs read
        Bytes kept;             // what is on the medium
        bool seenThere = false; // the folder lists it
        bool keptThere = false; // the folder's record of it is on the medium
    };

    enum class Keep { Synced, Written };

    explicit ModelDisk(Bytes bytes) : data{bytes, bytes, true, true} {}
    ModelDisk(File dataFile, File journalFile)
        : data(std::move(dataFile)), journal(std::move(journalFile))
    {
    }

    File data;
    File journal;
    std::vector<std::string> steps;
    int stopAfter = -1;
    bool torn = false;
    int failingStep = 0;
    int failingSteps = 1;
    int interruptAtStep = 0;
    std::atomic<bool> interrupted{false};

    enum class Act { Whole, Half, Not };

    // Counts the step `name` and tells how much of it happens.
    Act Step(const char* name)
    {
        const int step = static_cast<int>(steps.size()) + 1;
        steps.emplace_back(name);
        if (step == interruptAtStep)
            interrupted = true;
        if (stopAfter >= 0 && step > stopAfter)
            return torn && step == stopAfter + 1 ? Act::Half : Act::Not;
        const bool fails =
            failingStep > 0 && step >= failingStep && step < failingStep + failingSteps;
        return fails ? Act::Not : Act::Whole;
    }

    // The disk after the stop: after a power cut (Synced) only what the syncs put onto the
    // medium is left; after a kill (Written) the system keeps everything written and goes on
    // writing it to the medium at its leisure, so a power cut may still come before it has.
    ModelDisk AfterCrash(Keep keep) const
    {
        if (keep == Keep::Written)
            return ModelDisk(data, journal);
        const auto survivor = [](const File& file) {
            return file.keptThere ? File{file.kept, file.kept, true, true} : File{};
        };
        return ModelDisk(survivor(data), survivor(journal));
    }
};

// The data file on a ModelDisk.
class ModelDataStream final : public TStream
{
public:
    static constexpr FileIdentity Identity{7, 42};

    explicit ModelDataStream(ModelDisk& disk) : mDisk(disk) {}

    int32_t Seek(int32_t offset, uint16_t origin) override
    {
        const int64_t base = origin == soFromBeginning ? 0
                             : origin == soFromCurrent ? mPosition
                                                       : Size();
        mPosition = base + offset;
        return static_cast<int32_t>(mPosition);
    }

    int32_t Read(void* buffer, int32_t count) override
    {
        const Bytes& bytes = mDisk.data.seen;
        const int64_t got =
            std::clamp<int64_t>(static_cast<int64_t>(bytes.size()) - mPosition, 0, count);
        std::copy_n(bytes.begin() + mPosition, got, static_cast<uint8_t*>(buffer));
        mPosition += got;
        SetLastError(0);
        return static_cast<int32_t>(got);
    }

    int32_t Write(const void* buffer, int32_t count) override
    {
        const ModelDisk::Act act = mDisk.Step("data write");
        const int32_t stored = act == ModelDisk::Act::Whole  ? count
                               : act == ModelDisk::Act::Half ? count / 2
                                                             : 0;
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        std::copy_n(bytes, stored, mDisk.data.seen.begin() + mPosition);
        mPosition += stored;
        SetLastError(stored == count ? 0 : EIO);
        return stored;
    }

    bool Sync() override
    {
        if (mDisk.Step("data sync") != ModelDisk::Act::Whole) {
            SetLastError(EIO);
            return false;
        }
        mDisk.data.kept = mDisk.data.seen;
        return true;
    }

    std::string FileName() const override { return "Qelvint.dll"; }
    int64_t Size() override { return static_cast<int64_t>(mDisk.data.seen.size()); }

    StreamStatus CurrentStatus() override
    {
        StreamStatus status;
        status.size = Size();
        status.identity = Identity;
        return status;
    }

private:
    ModelDisk& mDisk;
    int64_t mPosition = 0;
};

// The journal beside the data file on a ModelDisk.
class ModelJournal final : public JournalStore
{
public:
    explicit ModelJournal(ModelDisk& disk) : mDisk(disk) {}

    std::string Name() const override { return "Qelvint.dll-kt63-journal"; }

    Found Load(std::vector<uint8_t>& bytes, std::string&) override
    {
        if (!mDisk.journal.seenThere)
            return Found::Nothing;
        bytes = mDisk.journal.seen;
        return Found::Read;
    }

    bool Create(std::string& failure) override
    {
        if (mDisk.Step("journal create") != ModelDisk::Act::Whole || mDisk.journal.seenThere)
            return Fail(failure);
        mDisk.journal.seenThere = true;
        mDisk.journal.seen.clear();
        return true;
    }

    bool Append(std::span<const uint8_t> bytes, std::string& failure) override
    {
        const ModelDisk::Act act = mDisk.Step("journal write");
        const size_t stored = act == ModelDisk::Act::Whole  ? bytes.size()
                              : act == ModelDisk::Act::Half ? bytes.size() / 2
                                                            : 0;
        mDisk.journal.seen.insert(mDisk.journal.seen.end(), bytes.begin(),
                                  bytes.begin() + static_cast<ptrdiff_t>(stored));
        return stored == bytes.size() || Fail(failure);
    }

    bool SyncAndClose(std::string& failure) override
    {
        if (mDisk.Step("journal sync") != ModelDisk::Act::Whole)
            return Fail(failure);
        mDisk.journal.kept = mDisk.journal.seen;
        return true;
    }

    bool SyncFolder(std::string& failure) override
    {
        if (mDisk.Step("folder sync") != ModelDisk::Act::Whole)
            return Fail(failure);
        mDisk.journal.keptThere = mDisk.journal.seenThere;
        return true;
    }

    bool Remove(std::string& failure) override
    {
        if (mDisk.Step("journal remove") != ModelDisk::Act::Whole)
            return Fail(failure);
        mDisk.journal.seenThere = false;
        mDisk.journal.seen.clear();
        return true;
    }

private:
    static bool Fail(std::string& failure)
    {
        failure = std::generic_category().message(EIO);
        return false;
    }

    ModelDisk& mDisk;
};

} // namespace kt63::test
