// The real kt63-table applying a patch of 24 runs of two fields while one call on the data file
// fails or another program acts, made by the fault library loaded into it (tests/support).

#include "clitestfiles.h"
#include "process.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

// What the data file must be afterwards.
enum class After { Patched, Old, Other, Gone, Cut };

struct InjectedRow
{
    const char* name;
    const char* fault;
    std::string message; // a piece of what follows "kt63-table: ﾌｧｲﾙ DATA " on standard error
    After after;
};

void PrintTo(const InjectedRow& row, std::ostream* out)
{
    *out << row.name;
}

class InjectedFault : public ::testing::TestWithParam<InjectedRow>
{
protected:
    void SetUp() override
    {
        original = test::RandomBytes(test::DataFileSize, 71);
        patched = original;
        // Month and Year lie side by side: each weapon's pair goes in one write.
        std::string csv = "Weapon,Month,Year\r\n";
        for (int32_t weapon = 1; weapon <= 24; ++weapon) {
            csv += std::to_string(weapon);
            for (int32_t offset : {125, 126}) {
                uint8_t& byte = patched[static_cast<size_t>(test::WeaponAt(weapon, offset))];
                byte ^= 1;
                csv += "," + std::to_string(byte);
            }
            csv += "\r\n";
        }
        test::WriteBytes(data, original);
        other = test::RandomBytes(test::DataFileSize, 72);
        test::WriteBytes(data + ".other", other);
        test::WriteText(patch, csv);
    }

    // Runs the apply with the library making `fault` on the data file. Standard error is the
    // run's output; standard output goes into `console`.
    test::ProgramRun Apply(const std::string& fault)
    {
        return test::RunProgram("/usr/bin/env",
                                {"ASAN_OPTIONS=verify_asan_link_order=0",
                                 "LD_PRELOAD=" + std::string(KT63_FAULT_LIBRARY),
                                 "KT63_FAULT_PATH=" + data, "KT63_FAULT=" + fault,
                                 KT63_TABLE_PROGRAM, "apply", data, patch},
                                console);
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    std::string patch = dir.path("dates.csv");
    std::string console = dir.path("console.txt");
    test::Bytes original;
    test::Bytes patched;
    test::Bytes other;
};

// Standard output never says a field was written unless the apply succeeded.
TEST_P(InjectedFault, SaysWhatHappenedAndLeavesNoMixedFile)
{
    const InjectedRow& row = GetParam();
    const test::ProgramRun run = Apply(row.fault);
    const std::string out = test::ReadText(console);
    if (row.after == After::Patched) {
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_TRUE(out.ends_with("\n48 fields written\n")) << out;
        EXPECT_EQ(test::ReadBytes(data), patched);
        return;
    }
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(out, "");
    const std::string head = "kt63-table: ﾌｧｲﾙ " + data + " ";
    EXPECT_EQ(run.output.substr(0, head.size()), head) << run.output;
    EXPECT_NE(run.output.find(row.message), std::string::npos) << run.output;
    switch (row.after) {
    case After::Old:
        EXPECT_EQ(test::ReadBytes(data), original);
        break;
    case After::Other:
        EXPECT_EQ(test::ReadBytes(data), other) << "the other program's file was written";
        break;
    case After::Gone:
        EXPECT_FALSE(test::Exists(data));
        break;
    case After::Cut: {
        // The writes lengthened the file again, and were put back: old bytes and zeros.
        const test::Bytes after = test::ReadBytes(data);
        EXPECT_NE(run.output.find("(今は " + std::to_string(after.size()) + " ﾊﾞｲﾄ)"),
                  std::string::npos);
        for (size_t at = 0; at < after.size(); ++at)
            ASSERT_TRUE(after[at] == original[at] || (at >= 1000 && after[at] == 0)) << at;
        break;
    }
    case After::Patched:
        break;
    }
}

// The apply reads the tables (2 seeks and reads), reads them again before writing (reads 3 and 4,
// each at its place without a seek), writes the 24 runs (writes 1 to 24, likewise), syncs, and
// reads the runs back in one read (read 5); it looks at the path before each of those steps,
// once more to count the file's names before it writes its journal, and last after the reading
// back (stat 5). A transfer the system cuts short or a signal interrupts goes on.
const std::string kNotSaved = ": 保存されていません";
const std::string kReplaced = "は保存中に他のﾌﾟﾛｸﾞﾗﾑに置き換えられました" + kNotSaved;
const std::string kDeleted = "は保存中に削除されました" + kNotSaved;
const std::string kCut = "は保存中に他のﾌﾟﾛｸﾞﾗﾑに切り詰められました";

INSTANTIATE_TEST_SUITE_P(
    Faults, InjectedFault,
    ::testing::Values(
        InjectedRow{"none", "none:0", "", After::Patched},
        InjectedRow{"tables_read_short", "shortread:2",
                    "を読み込めません (714612 ﾊﾞｲﾄ中 714611 ﾊﾞｲﾄしか読めません)", After::Old},
        InjectedRow{"tables_seek", "seek:2", "を読み込めません (位置 ", After::Old},
        InjectedRow{"old_bytes_unreadable", "read:3", "を読み込めません (Input/output error)",
                    After::Old},
        InjectedRow{"old_bytes_read_interrupted", "readeintr:4", "", After::Patched},
        InjectedRow{"first_write", "write:1", "に書き込めません (Input/output error)", After::Old},
        InjectedRow{"last_write", "write:24", "に書き込めません (Input/output error)", After::Old},
        InjectedRow{"run_broken_off_after_one_byte", "partwrite:12",
                    "に書き込めません (Input/output error)", After::Old},
        InjectedRow{"run_written_short_goes_on", "shortwrite:12", "", After::Patched},
        InjectedRow{"write_interrupted_goes_on", "writeeintr:12", "", After::Patched},
        InjectedRow{"sync", "sync:1", "に書き込めません (Input/output error)", After::Old},
        InjectedRow{"path_unreadable_at_the_end", "stat:5",
                    "を確かめられません (Permission denied)" + kNotSaved, After::Old},
        InjectedRow{"read_back_short_goes_on", "shortread:5", "", After::Patched},
        InjectedRow{"read_back_fails", "read:5",
                    "を読み込めません (Input/output error)" + kNotSaved, After::Old},
        InjectedRow{"renamed_over_at_the_first_write", "rename:1", kReplaced, After::Other},
        InjectedRow{"renamed_over_at_the_last_write", "rename:24", kReplaced, After::Other},
        InjectedRow{"deleted_at_the_first_write", "delete:1", kDeleted, After::Gone},
        InjectedRow{"deleted_at_the_last_write", "delete:24", kDeleted, After::Gone},
        InjectedRow{"cut_at_the_first_write", "cut:1", kCut, After::Cut},
        InjectedRow{"cut_at_the_last_write", "cut:24", kCut, After::Cut}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
