#include "exception.h"
#include "faultystream.h"
#include "helddatafile.h"
#include "testfiles.h"
#include "weaponcodec.h"

#include <gtest/gtest.h>

#include <system_error>

namespace kt63 {
namespace {

using Faults = test::FaultyStream::Faults;

const RecordAddress kAddress{1921, 5, 1920, 7};

// Values unlike the file's bytes, so that every write changes what it covers.
void FillValues(WeaponValues& weapon, ArmamentValues& armament)
{
    int32_t* value = &weapon.UnitBranch;
    for (int i = 0; i < 27; ++i)
        value[i] = static_cast<int32_t>(0xA5A5A5A5u + static_cast<uint32_t>(i));
    value = &armament.EquipmentKind;
    for (int i = 0; i < 22; ++i)
        value[i] = 0x5A5A + i;
}

enum class Operation { Load, Save };

// Loads or saves through `faults` and gives the message of the error it must raise; the stream's
// bytes must afterwards be those it started with.
std::string FailedMessage(const Faults& faults, Operation operation = Operation::Save,
                          test::Bytes* after = nullptr)
{
    const test::Bytes original = test::RandomBytes(2264784, 21);
    test::FaultyStream file(original, faults);
    HeldDataFile held(file);
    WeaponValues weapon;
    ArmamentValues armament;
    FillValues(weapon, armament);
    std::string message = "(no error)";
    try {
        if (operation == Operation::Save)
            SaveWeapon(held, kAddress, weapon, armament);
        else
            LoadWeapon(held, kAddress.weapon, kAddress.slot, kAddress.tab);
    } catch (const EStreamError& error) {
        message = error.message();
    }
    if (after != nullptr)
        *after = file.bytes();
    else
        EXPECT_TRUE(file.bytes() == original) << "the file differs from before";
    return message;
}

std::string Expected(int error, const char* tail = "")
{
    return "ﾌｧｲﾙ Qelvint.dll に書き込めません (" + std::generic_category().message(error) + ")" +
           tail;
}

// Whichever of the 49 writes fails, wholly or after part of its bytes, the save puts back every
// byte it wrote and reports the disk's reason.
class FailingWrite : public ::testing::TestWithParam<std::tuple<int, bool>>
{
};

TEST_P(FailingWrite, LeavesTheFileAsItWasAndSaysWhy)
{
    const auto [k, shortWrite] = GetParam();
    EXPECT_EQ(FailedMessage({.failingWrite = k, .shortWrite = shortWrite}), Expected(ENOSPC));
}

INSTANTIATE_TEST_SUITE_P(EveryField, FailingWrite,
                         ::testing::Combine(::testing::Range(1, 50), ::testing::Bool()));

TEST(SaveFaults, FailingSyncPutsBackEveryField)
{
    EXPECT_EQ(FailedMessage({.failingSync = true}), Expected(EIO));
}

// When the disk refuses the roll-back as well, the user must hear that the record may be
// partly written rather than that nothing happened.
TEST(SaveFaults, FailedRollBackSaysTheRecordMayBePartlyWritten)
{
    test::Bytes after;
    const std::string message =
        FailedMessage({.failingWrite = 30, .laterWritesFail = true}, Operation::Save, &after);
    EXPECT_EQ(message, Expected(ENOSPC, ": 一部だけ書き込まれたかもしれません"));
    EXPECT_FALSE(after == test::RandomBytes(2264784, 21));
}

// --- Every seek, read and look at the file of a load or a save, failing in turn ---------------

struct FaultRow
{
    std::string name;
    Operation operation;
    Faults faults;
    std::string head; // how the message goes on after "ﾌｧｲﾙ Qelvint.dll "
    std::string tail; // how it ends
};

void PrintTo(const FaultRow& row, std::ostream* out)
{
    *out << row.name;
}

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

const std::string kReading = "を読み込めません (";
const std::string kWriting = "に書き込めません (";
const std::string kRefusedSeek = " に移れません: " + Reason(EINVAL) + ")";
const std::string kNotSaved = ": 保存されていません";

// The load makes 47 seeks and 49 reads; the save reads the record and the armament entry (two
// seeks, two reads), then makes 47 seeks and 49 writes.
std::vector<FaultRow> FaultRows()
{
    std::vector<FaultRow> rows;
    const auto add = [&rows](std::string name, Operation operation, Faults faults, std::string head,
                             std::string tail) {
        rows.push_back({std::move(name), operation, faults, std::move(head), std::move(tail)});
    };
    for (int k = 1; k <= 49; ++k) {
        const std::string n = std::to_string(k);
        const std::string transfer = k <= 2 ? kReading : kWriting;
        add("save_seek_" + n + "_refused", Operation::Save, {.failingSeek = k}, transfer + "位置 ",
            kRefusedSeek);
        add("save_seek_" + n + "_lands_elsewhere", Operation::Save, {.misplacedSeek = k},
            transfer + "位置 ", " に移れません)");
        add("load_read_" + n + "_fails", Operation::Load, {.failingRead = k},
            kReading + Reason(EIO) + ")", "");
        add("load_read_" + n + "_falls_short", Operation::Load, {.shortRead = k}, kReading,
            " ﾊﾞｲﾄしか読めません)");
        if (k > 47)
            continue;
        add("load_seek_" + n + "_refused", Operation::Load, {.failingSeek = k}, kReading + "位置 ",
            kRefusedSeek);
        add("load_seek_" + n + "_lands_elsewhere", Operation::Load, {.misplacedSeek = k},
            kReading + "位置 ", " に移れません)");
    }
    add("save_record_read_fails", Operation::Save, {.failingRead = 1}, kReading + Reason(EIO) + ")",
        "");
    add("save_entry_read_falls_short", Operation::Save, {.shortRead = 2},
        kReading + "84 ﾊﾞｲﾄ中 83 ﾊﾞｲﾄしか読めません)", "");
    add("load_cannot_look_at_the_file", Operation::Load, {.failingStatus = 1},
        "を確かめられません (" + Reason(EACCES) + ")", "");
    add("save_cannot_look_before", Operation::Save, {.failingStatus = 1},
        "を確かめられません (" + Reason(EACCES) + ")", "");
    add("save_cannot_look_after", Operation::Save, {.failingStatus = 2},
        "を確かめられません (" + Reason(EACCES) + ")" + kNotSaved, "");
    return rows;
}

class HeldFileFault : public ::testing::TestWithParam<FaultRow>
{
};

TEST_P(HeldFileFault, EndsWithAnErrorNamingTheFileAndLeavesTheOldBytes)
{
    const FaultRow& row = GetParam();
    const std::string message = FailedMessage(row.faults, row.operation);
    const std::string head = "ﾌｧｲﾙ Qelvint.dll " + row.head;
    EXPECT_EQ(message.substr(0, head.size()), head);
    EXPECT_TRUE(message.ends_with(row.tail)) << message;
}

INSTANTIATE_TEST_SUITE_P(Calls, HeldFileFault, ::testing::ValuesIn(FaultRows()),
                         [](const auto& info) { return info.param.name; });

TEST(SaveFaults, UnreadableRecordIsNotWritten)
{
    test::FaultyStream file(test::RandomBytes(2264784, 22), {.failingReads = true});
    HeldDataFile held(file);
    EXPECT_THROW(SaveWeapon(held, kAddress, {}, {}), EReadError);
    EXPECT_EQ(file.writes(), 0);
}

} // namespace
} // namespace kt63
