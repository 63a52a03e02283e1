#include "exception.h"
#include "testfiles.h"
#include "tfilestream.h"
#include "tmemorystream.h"
#include "utf8path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#ifndef _WIN32
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#endif

namespace kt63 {
namespace {

using test::Bytes;
using test::TempDir;

constexpr uint16_t kReadExclusive = fmOpenRead | fmShareExclusive;           // 16
constexpr uint16_t kWriteExclusive = fmOpenWrite | fmShareExclusive;         // 17
constexpr uint16_t kReadWriteDenyWrite = fmOpenReadWrite | fmShareDenyWrite; // 34

class FileStreamTest : public ::testing::Test
{
protected:
    void SetUp() override { test::WriteBytes(file, test::Hex("00 01 02 03 04 05 06 07 08 09")); }

    TempDir dir;
    std::string file = dir.path("data.bin");
};

// --- Opening -------------------------------------------------------------------------------

class MissingFileTest : public ::testing::TestWithParam<uint16_t>
{
};

TEST_P(MissingFileTest, RaisesOpenErrorWithThePathAsPassedAndCreatesNothing)
{
    TempDir dir;
    const std::string path = dir.path("none/../missing.dat");
    try {
        TFileStream stream(path, GetParam());
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + path + " は開けません");
    }
    EXPECT_FALSE(test::Exists(dir.path("missing.dat")));
}

INSTANTIATE_TEST_SUITE_P(EditorModes, MissingFileTest,
                         ::testing::Values(kReadExclusive, kWriteExclusive, kReadWriteDenyWrite));

TEST_F(FileStreamTest, RefusesADirectoryInEveryMode)
{
    for (uint16_t mode : {kReadExclusive, kWriteExclusive, kReadWriteDenyWrite})
        EXPECT_THROW(TFileStream(Utf8FromPath(dir.root()), mode), EFOpenError) << mode;
}

TEST_F(FileStreamTest, RefusesModesOutsideTheAccessAndSharingParts)
{
    for (uint16_t mode : {0x0003, 0x0050, 0x00F0, 0x0104, 0x8022})
        EXPECT_THROW(TFileStream(file, mode), EFOpenError) << mode;
}

TEST_F(FileStreamTest, OpeningForWritingNeitherTruncatesNorMovesTheEnd)
{
    {
        TFileStream stream(file, kWriteExclusive);
    }
    {
        TFileStream stream(file, kReadWriteDenyWrite);
    }
    EXPECT_EQ(test::ReadBytes(file), test::Hex("00 01 02 03 04 05 06 07 08 09"));
}

// Paths are UTF-8: a folder with a Japanese name is found, not a name in the locale's code page.
TEST_F(FileStreamTest, OpensPathsThroughFoldersWithJapaneseNames)
{
    const std::string folder = dir.path("兵器データ");
    ASSERT_TRUE(std::filesystem::create_directory(PathFromUtf8(folder)));
    const std::string path = folder + "/Qelvint.dll";
    test::WriteBytes(path, test::Hex("41 42"));
    TFileStream stream(path, kReadWriteDenyWrite);
    uint8_t bytes[2] = {};
    EXPECT_EQ(stream.Read(bytes, 2), 2);
    EXPECT_EQ(bytes[1], 0x42);
    EXPECT_EQ(stream.CurrentStatus().path, StreamStatus::Path::NamesIt);
    try {
        TFileStream missing(folder + "/なし.dll", kReadExclusive);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + folder + "/なし.dll は開けません");
    }
}

// --- Sharing -------------------------------------------------------------------------------

struct SharingRow
{
    const char* name;
    uint16_t first;
    uint16_t second;
    bool secondOpens;
};

void PrintTo(const SharingRow& row, std::ostream* out)
{
    *out << row.name;
}

class SharingTest : public FileStreamTest, public ::testing::WithParamInterface<SharingRow>
{
};

TEST_P(SharingTest, SecondStreamOpensOnlyWhenBothModesAllowIt)
{
    const SharingRow& row = GetParam();
    TFileStream first(file, row.first);
    if (row.secondOpens)
        EXPECT_NO_THROW(TFileStream(file, row.second));
    else
        EXPECT_THROW(TFileStream(file, row.second), EFOpenError);
}

TEST_P(SharingTest, SecondStreamOpensOnceTheFirstIsClosed)
{
    {
        TFileStream first(file, GetParam().first);
    }
    EXPECT_NO_THROW(TFileStream(file, GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SharingTest,
    ::testing::Values(
        SharingRow{"read_exclusive_twice", kReadExclusive, kReadExclusive, false},
        SharingRow{"data_file_then_name_list_read", kReadWriteDenyWrite, kReadExclusive, false},
        SharingRow{"data_file_twice", kReadWriteDenyWrite, kReadWriteDenyWrite, false},
        SharingRow{"data_file_then_reader_denying_none", kReadWriteDenyWrite,
                   fmOpenRead | fmShareDenyNone, true},
        SharingRow{"data_file_then_reader_denying_write", kReadWriteDenyWrite,
                   fmOpenRead | fmShareDenyWrite, false},
        SharingRow{"reader_then_data_file", fmOpenRead | fmShareDenyNone, kReadWriteDenyWrite,
                   true},
        SharingRow{"writer_denying_none_then_data_file", fmOpenReadWrite | fmShareDenyNone,
                   kReadWriteDenyWrite, false},
        SharingRow{"two_readers_denying_write", fmOpenRead | fmShareDenyWrite,
                   fmOpenRead | fmShareDenyWrite, true},
        SharingRow{"reader_denying_write_then_writer", fmOpenRead | fmShareDenyWrite,
                   fmOpenWrite | fmShareDenyNone, false},
        SharingRow{"writer_denying_read_then_reader", fmOpenWrite | fmShareDenyRead,
                   fmOpenRead | fmShareDenyNone, false},
        SharingRow{"writer_denying_read_then_writer", fmOpenReadWrite | fmShareDenyRead,
                   fmOpenReadWrite | fmShareDenyRead, false},
        SharingRow{"name_list_write_then_read", kWriteExclusive, kReadExclusive, false},
        SharingRow{"readers_denying_none", fmOpenRead | fmShareDenyNone,
                   fmOpenRead | fmShareDenyNone, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Every access part with every sharing part, opened after every other: the second stream opens
// only when the first lets others do what the second does and the second lets others do what
// the first does. Parts 0 and 1 let nobody in.
struct ModeMeaning
{
    const char* name;
    uint16_t mode;
    bool reads;
    bool writes;
    bool othersMayRead;
    bool othersMayWrite;
};

constexpr ModeMeaning kEveryMode[] = {
    {"read_compat", 0x00, true, false, false, false},
    {"read_exclusive", 0x10, true, false, false, false},
    {"read_deny_write", 0x20, true, false, true, false},
    {"read_deny_read", 0x30, true, false, false, true},
    {"read_deny_none", 0x40, true, false, true, true},
    {"write_compat", 0x01, false, true, false, false},
    {"write_exclusive", 0x11, false, true, false, false},
    {"write_deny_write", 0x21, false, true, true, false},
    {"write_deny_read", 0x31, false, true, false, true},
    {"write_deny_none", 0x41, false, true, true, true},
    {"read_write_compat", 0x02, true, true, false, false},
    {"read_write_exclusive", 0x12, true, true, false, false},
    {"read_write_deny_write", 0x22, true, true, true, false},
    {"read_write_deny_read", 0x32, true, true, false, true},
    {"read_write_deny_none", 0x42, true, true, true, true},
};

bool Lets(const ModeMeaning& holder, const ModeMeaning& opener)
{
    return (!opener.reads || holder.othersMayRead) && (!opener.writes || holder.othersMayWrite);
}

bool SecondOpens(const ModeMeaning& first, const ModeMeaning& second)
{
#ifndef _WIN32
    // A write-only descriptor can mark what it does only with write locks, which refuse any
    // other writer, even one that both modes would let in.
    if (first.writes && second.writes && (!first.reads || !second.reads))
        return false;
#endif
    return Lets(first, second) && Lets(second, first);
}

void PrintTo(const ModeMeaning& meaning, std::ostream* out)
{
    *out << meaning.name;
}

class SharingMatrixTest : public FileStreamTest, public ::testing::WithParamInterface<ModeMeaning>
{
};

TEST_P(SharingMatrixTest, SecondStreamOpensExactlyWhenBothModesLetTheOtherIn)
{
    const ModeMeaning& first = GetParam();
    TFileStream held(file, first.mode);
    for (const ModeMeaning& second : kEveryMode) {
        bool opened = true;
        try {
            TFileStream other(file, second.mode);
        } catch (const EFOpenError& error) {
            opened = false;
            EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + file + " は開けません");
        }
        EXPECT_EQ(opened, SecondOpens(first, second)) << "then " << second.name;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SharingMatrixTest, ::testing::ValuesIn(kEveryMode),
                         [](const auto& info) { return std::string(info.param.name); });

// Advisory locks and fork() are POSIX's. On Windows the system enforces the share modes itself,
// between processes as within one; the matrix above and kt63-table's tests with a second process
// holding the file show that there.
#ifndef _WIN32

// Runs `hold` in a child process, waits until it has done so, and ends the child on destruction.
class OtherProcess
{
public:
    template <class Hold> explicit OtherProcess(Hold hold)
    {
        int ready[2], release[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        mPid = ::fork();
        if (mPid == 0) {
            // The child keeps only its own pipe ends, so that closing ours releases it.
            ::close(ready[0]);
            ::close(release[1]);
            const char ok = hold() ? '1' : '0';
            [[maybe_unused]] auto w = ::write(ready[1], &ok, 1);
            char wait;
            [[maybe_unused]] auto r = ::read(release[0], &wait, 1);
            ::_exit(0);
        }
        char ok = '0';
        EXPECT_EQ(::read(ready[0], &ok, 1), 1);
        mHolding = ok == '1';
        mRelease = release[1];
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(release[0]);
    }

    ~OtherProcess()
    {
        ::close(mRelease);
        ::waitpid(mPid, nullptr, 0);
    }

    bool holding() const { return mHolding; }

private:
    pid_t mPid = -1;
    int mRelease = -1;
    bool mHolding = false;
};

TEST_F(FileStreamTest, FileUnderAnotherProgramsExclusiveFlockCannotBeOpened)
{
    OtherProcess other([&] {
        const int fd = ::open(file.c_str(), O_RDONLY);
        return fd >= 0 && ::flock(fd, LOCK_EX) == 0;
    });
    ASSERT_TRUE(other.holding());
    for (uint16_t mode : {kReadExclusive, kWriteExclusive, kReadWriteDenyWrite})
        EXPECT_THROW(TFileStream(file, mode), EFOpenError) << mode;
}

TEST_F(FileStreamTest, DataFileHeldByAnotherProcessCannotBeOpenedForWriting)
{
    OtherProcess other([&] {
        try {
            new TFileStream(file, kReadWriteDenyWrite); // held until the child exits
            return true;
        } catch (const EFOpenError&) {
            return false;
        }
    });
    ASSERT_TRUE(other.holding());
    EXPECT_THROW(TFileStream(file, kReadWriteDenyWrite), EFOpenError);
    EXPECT_THROW(TFileStream(file, kWriteExclusive), EFOpenError);
    EXPECT_NO_THROW(TFileStream(file, fmOpenRead | fmShareDenyNone));
}

TEST_F(FileStreamTest, OurDataFileKeepsOtherProgramsExclusiveFlockOut)
{
    TFileStream held(file, kReadWriteDenyWrite);
    const int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(::flock(fd, LOCK_SH | LOCK_NB), 0);
    ::close(fd);
}

#endif

// --- What became of the held file -----------------------------------------------------------

// Another program changes the held data file behind the stream's back. On POSIX nothing stops
// it, so the stream's status must tell what happened. On Windows the system itself refuses: a
// held file cannot be deleted or renamed over, nor written while the stream denies writing.
struct ChangeRow
{
    const char* name;
    void (*change)(const std::string& path, std::error_code& error);
    StreamStatus::Path path; // where the change went through
    int64_t size;
};

void PrintTo(const ChangeRow& row, std::ostream* out)
{
    *out << row.name;
}

class HeldFileChangeTest : public FileStreamTest, public ::testing::WithParamInterface<ChangeRow>
{
};

TEST_P(HeldFileChangeTest, StatusTellsWhatBecameOfTheFile)
{
    const ChangeRow& row = GetParam();
    TFileStream held(file, kReadWriteDenyWrite);
    std::error_code error;
    row.change(file, error);
#ifdef _WIN32
    EXPECT_TRUE(error) << "went through";
    const StreamStatus::Path path = StreamStatus::Path::NamesIt;
    const int64_t size = 10;
#else
    EXPECT_FALSE(error) << error.message();
    const StreamStatus::Path path = row.path;
    const int64_t size = row.size;
#endif
    const StreamStatus status = held.CurrentStatus();
    EXPECT_EQ(status.path, path);
    EXPECT_EQ(status.size, size);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, HeldFileChangeTest,
    ::testing::Values(ChangeRow{"cut_short",
                                [](const std::string& path, std::error_code& error) {
                                    std::filesystem::resize_file(PathFromUtf8(path), 4, error);
                                },
                                StreamStatus::Path::NamesIt, 4},
                      ChangeRow{"deleted",
                                [](const std::string& path, std::error_code& error) {
                                    std::filesystem::remove(PathFromUtf8(path), error);
                                },
                                StreamStatus::Path::Missing, 10},
                      ChangeRow{"replaced",
                                [](const std::string& path, std::error_code& error) {
                                    test::WriteBytes(path + ".new", test::Hex("FF"));
                                    std::filesystem::rename(PathFromUtf8(path + ".new"),
                                                            PathFromUtf8(path), error);
                                },
                                StreamStatus::Path::NamesAnother, 10}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Seek, Read, Write, Size -----------------------------------------------------------------

TEST_F(FileStreamTest, ShortReadLeavesTheRestOfTheBufferAsItWas)
{
    test::WriteBytes(file, test::RandomBytes(100, 7));
    TFileStream stream(file, kReadExclusive);
    Bytes buffer(14097, 0xAB);
    EXPECT_EQ(stream.Read(buffer.data(), 14097), 100);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 100), test::RandomBytes(100, 7));
    EXPECT_EQ(std::count(buffer.begin() + 100, buffer.end(), 0xAB), 13997);
}

TEST_F(FileStreamTest, ReadAtTheEndGivesNothingAndLeavesTheBuffer)
{
    TFileStream stream(file, kReadExclusive);
    EXPECT_EQ(stream.Seek(0, soFromEnd), 10);
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    EXPECT_EQ(Bytes(buffer, buffer + 4), test::Hex("09 09 09 09"));
}

TEST_F(FileStreamTest, SeekOriginsAndRefusedSeek)
{
    TFileStream stream(file, kReadExclusive);
    EXPECT_EQ(stream.Seek(4, soFromBeginning), 4);
    EXPECT_EQ(stream.Seek(3, soFromCurrent), 7);
    EXPECT_EQ(stream.Seek(-2, soFromEnd), 8);
    EXPECT_EQ(stream.Seek(-20, soFromCurrent), -1);
    EXPECT_EQ(stream.Seek(0, 3), -1);
    uint8_t byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 1);
    EXPECT_EQ(byte, 8) << "a refused seek keeps the position";
}

TEST_F(FileStreamTest, SeekPastTheEndAloneDoesNotLengthen)
{
    {
        TFileStream stream(file, kReadWriteDenyWrite);
        EXPECT_EQ(stream.Seek(100, soFromBeginning), 100);
    }
    EXPECT_EQ(test::ReadBytes(file).size(), 10u);
}

TEST_F(FileStreamTest, WritePastTheEndLengthensToTheEndOfTheBytesWritten)
{
    {
        TFileStream stream(file, kReadWriteDenyWrite);
        stream.Seek(20, soFromBeginning);
        const uint8_t bytes[2] = {0xAA, 0xBB};
        EXPECT_EQ(stream.Write(bytes, 2), 2);
    }
    const Bytes after = test::ReadBytes(file);
    ASSERT_EQ(after.size(), 22u);
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 10), test::Hex("00 01 02 03 04 05 06 07 08 09"));
    EXPECT_EQ(after[20], 0xAA);
    EXPECT_EQ(after[21], 0xBB);
}

TEST_F(FileStreamTest, WriteInsideOverwritesOnlyThoseBytes)
{
    {
        TFileStream stream(file, kWriteExclusive);
        stream.Seek(8, soFromBeginning); // the last two bytes, as the list number write does
        const uint8_t bytes[2] = {0x0F, 0x27};
        EXPECT_EQ(stream.Write(bytes, 2), 2);
    }
    EXPECT_EQ(test::ReadBytes(file), test::Hex("00 01 02 03 04 05 06 07 0F 27"));
}

TEST_F(FileStreamTest, SizeMeasuresAndKeepsThePosition)
{
    TFileStream stream(file, kReadExclusive);
    stream.Seek(3, soFromBeginning);
    EXPECT_EQ(stream.Size(), 10);
    EXPECT_EQ(stream.Seek(0, soFromCurrent), 3);
}

TEST_F(FileStreamTest, SizeOfAnEmptyFileIsZero)
{
    test::WriteBytes(file, {});
    TFileStream stream(file, kReadExclusive);
    EXPECT_EQ(stream.Size(), 0);
}

TEST_F(FileStreamTest, TransfersOfNothingDoNothing)
{
    TFileStream stream(file, kReadWriteDenyWrite);
    uint8_t byte = 0;
    EXPECT_EQ(stream.Read(&byte, 0), 0);
    EXPECT_EQ(stream.Write(&byte, -5), 0);
    EXPECT_EQ(stream.Seek(0, soFromCurrent), 0);
}

// --- ReadAt, WriteAt ---------------------------------------------------------------------------

// A transfer at a place, on the file "00 01 ... 09": a file makes it one positioned call, a
// stream in memory a seek and a transfer; both must give the same. `bytes` are those written,
// or those a read must deliver; `after` the whole stream afterwards.
struct PlacedRow
{
    const char* name;
    bool write;
    int32_t offset;
    int32_t count;
    Bytes bytes;
    int32_t done;
    int error;
    Bytes after;
};

void PrintTo(const PlacedRow& row, std::ostream* out)
{
    *out << row.name;
}

class PlacedTransfer : public FileStreamTest,
                       public ::testing::WithParamInterface<std::tuple<PlacedRow, bool>>
{
};

TEST_P(PlacedTransfer, MovesTheBytesAtTheirPlaceOnly)
{
    const auto& [row, inFile] = GetParam();
    const Bytes start = test::ReadBytes(file);
    TMemoryStream memory(start);
    std::unique_ptr<TFileStream> held;
    if (inFile)
        held = std::make_unique<TFileStream>(file, kReadWriteDenyWrite);
    TStream& stream = inFile ? static_cast<TStream&>(*held) : memory;
    Bytes buffer(static_cast<size_t>(row.count), 0xAB);
    const int32_t done = row.write ? stream.WriteAt(row.offset, row.bytes.data(), row.count)
                                   : stream.ReadAt(row.offset, buffer.data(), row.count);
    EXPECT_EQ(done, row.done);
    EXPECT_EQ(stream.LastError(), row.error);
    if (!row.write) {
        EXPECT_EQ(buffer, row.bytes) << "bytes not read keep what they held";
    }
    held.reset();
    EXPECT_EQ(inFile ? test::ReadBytes(file) : memory.bytes(), row.after);
}

const Bytes kTen = test::Hex("00 01 02 03 04 05 06 07 08 09");

INSTANTIATE_TEST_SUITE_P(
    Rows, PlacedTransfer,
    ::testing::Combine(
        ::testing::Values(
            PlacedRow{"read_inside", false, 3, 4, test::Hex("03 04 05 06"), 4, 0, kTen},
            PlacedRow{"read_over_the_end", false, 8, 4, test::Hex("08 09 AB AB"), 2, 0, kTen},
            PlacedRow{"read_past_the_end", false, 12, 2, test::Hex("AB AB"), 0, 0, kTen},
            PlacedRow{"read_before_the_start", false, -1, 2, test::Hex("AB AB"), 0, EINVAL, kTen},
            PlacedRow{"write_inside", true, 2, 2, test::Hex("AA BB"), 2, 0,
                      test::Hex("00 01 AA BB 04 05 06 07 08 09")},
            PlacedRow{"write_past_the_end", true, 11, 1, test::Hex("CC"), 1, 0,
                      test::Hex("00 01 02 03 04 05 06 07 08 09 00 CC")},
            PlacedRow{"write_before_the_start", true, -3, 1, test::Hex("CC"), 0, EINVAL, kTen}),
        ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "_file" : "_memory");
    });

// The stream holds "folder/data.bin" through the link "link" to "folder"; each row changes the
// way to it as another program could. A path that leads nowhere is missing; one the system
// cannot follow is unknown, with the system's reason. Links and such folders are POSIX's.
#ifndef _WIN32
struct StatusRow
{
    const char* name;
    void (*change)(const TempDir& dir);
    StreamStatus::Path path;
    int64_t size;
    int reason; // the system's error the status names, or 0
};

void PrintTo(const StatusRow& row, std::ostream* out)
{
    *out << row.name;
}

class HeldStatus : public ::testing::TestWithParam<StatusRow>
{
};

TEST_P(HeldStatus, TellsWhatThePathNamesNow)
{
    const StatusRow& row = GetParam();
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.path("folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("folder", dir.path("link").c_str()), 0);
    test::WriteBytes(dir.path("folder/data.bin"), test::Hex("00 01 02 03 04 05 06 07 08 09"));
    TFileStream stream(dir.path("link/data.bin"), kReadWriteDenyWrite);
    const FileIdentity opened = stream.CurrentStatus().identity;

    row.change(dir);
    const StreamStatus status = stream.CurrentStatus();
    EXPECT_EQ(status.path, row.path);
    EXPECT_EQ(status.size, row.size);
    EXPECT_EQ(status.identity, opened) << "the identity is the held file's";
    EXPECT_EQ(status.reason, row.reason == 0 ? "" : std::generic_category().message(row.reason));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, HeldStatus,
    ::testing::Values(StatusRow{"folder_replaced_by_a_file",
                                [](const TempDir& dir) {
                                    ASSERT_EQ(::unlink(dir.path("link").c_str()), 0);
                                    test::WriteBytes(dir.path("link"), Bytes(1, 0));
                                },
                                StreamStatus::Path::Missing, 10, ENOTDIR},
                      StatusRow{"link_that_loops",
                                [](const TempDir& dir) {
                                    ASSERT_EQ(::unlink(dir.path("link").c_str()), 0);
                                    ASSERT_EQ(::symlink("link", dir.path("link").c_str()), 0);
                                },
                                StreamStatus::Path::Unknown, 10, ELOOP}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

} // namespace
} // namespace kt63
