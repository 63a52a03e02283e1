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

// Saves through `faults` and gives the message of the error it must raise; the stream's bytes
// must afterwards be those it started with.
std::string FailedSaveMessage(const Faults& faults, test::Bytes* after = nullptr)
{
    const test::Bytes original = test::RandomBytes(2264784, 21);
    test::FaultyStream file(original, faults);
    HeldDataFile held(file);
    WeaponValues weapon;
    ArmamentValues armament;
    FillValues(weapon, armament);
    std::string message;
    try {
        SaveWeapon(held, kAddress, weapon, armament);
    } catch (const EStreamError& error) {
        message = error.message();
    }
    if (after != nullptr)
        *after = file.bytes();
    else
        EXPECT_TRUE(file.bytes() == original) << "the file differs from before the save";
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
    EXPECT_EQ(FailedSaveMessage({.failingWrite = k, .shortWrite = shortWrite}), Expected(ENOSPC));
}

INSTANTIATE_TEST_SUITE_P(EveryField, FailingWrite,
                         ::testing::Combine(::testing::Range(1, 50), ::testing::Bool()));

TEST(SaveFaults, FailingSyncPutsBackEveryField)
{
    EXPECT_EQ(FailedSaveMessage({.failingSync = true}), Expected(EIO));
}

// When the disk refuses the roll-back as well, the user must hear that the record may be
// partly written rather than that nothing happened.
TEST(SaveFaults, FailedRollBackSaysTheRecordMayBePartlyWritten)
{
    test::Bytes after;
    const std::string message =
        FailedSaveMessage({.failingWrite = 30, .laterWritesFail = true}, &after);
    EXPECT_EQ(message, Expected(ENOSPC, ": 一部だけ書き込まれたかもしれません"));
    EXPECT_FALSE(after == test::RandomBytes(2264784, 21));
}

TEST(SaveFaults, UnreadableRecordIsNotWritten)
{
    test::FaultyStream file(test::RandomBytes(2264784, 22), {.failingReads = true});
    HeldDataFile held(file);
    EXPECT_THROW(SaveWeapon(held, kAddress, {}, {}), EReadError);
    EXPECT_EQ(file.writes(), 0);
}

} // namespace
} // namespace kt63
