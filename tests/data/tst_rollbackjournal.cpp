// The rollback journal's bytes, and how a journal that a crash cut short, tore or never wrote is
// told from a whole one and from one that is not to be acted on.

#include "rollbackjournal.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

using test::Bytes;
using test::Hex;

// A journal of weapon 1's Speed and CanBeCarried, written out byte by byte; its checksum comes
// from zlib's crc32.
const Bytes kJournalBytes = Hex("4b 54 36 33 4a 52 4e 4c 01 00 00 00 02 00 00 00 48 00 00 00 00 00 "
                                "00 00 d0 8e 22 00 00 00 00 00 08 07 06 05 04 03 02 01 18 17 16 15 "
                                "14 13 12 11 78 a7 17 00 01 aa bb 9c a7 17 00 04 01 02 03 04 05 06 "
                                "07 08 56 07 61 f5");

TEST(RollbackJournal, IsWrittenByteForByte)
{
    const RollbackJournal journal{
        {0x0102030405060708, 0x1112131415161718},
        2264784,
        {{1550200, 1, {0xAA}, {0xBB}}, {1550236, 4, {1, 2, 3, 4}, {5, 6, 7, 8}}}};
    EXPECT_EQ(EncodeJournal(journal), kJournalBytes);
}

// The journal with its checksum made to fit again after a change to its bytes.
Bytes Sealed(Bytes bytes)
{
    const uint32_t crc = Crc32(std::span(bytes).first(bytes.size() - 4));
    for (size_t i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    return bytes;
}

Bytes With(size_t at, uint8_t value, bool seal)
{
    Bytes bytes = kJournalBytes;
    bytes[at] = value;
    return seal ? Sealed(bytes) : bytes;
}

Bytes FirstBytes(size_t count)
{
    return {kJournalBytes.begin(), kJournalBytes.begin() + static_cast<ptrdiff_t>(count)};
}

struct FormRow
{
    const char* name;
    Bytes bytes;
    JournalForm form;
};

class Form : public ::testing::TestWithParam<FormRow>
{
};

TEST_P(Form, IsToldFromTheBytes)
{
    EXPECT_EQ(DecodeJournal(GetParam().bytes).form, GetParam().form);
}

// Offsets into kJournalBytes: 8 the version, 12 to 15 the count, 26 a byte of the data file's
// length, 48 the first entry's offset, 52 its width, 54 its new byte, 57 a byte of the second
// entry's offset.
INSTANTIATE_TEST_SUITE_P(
    Journals, Form,
    ::testing::Values(
        FormRow{"whole", kJournalBytes, JournalForm::Complete},
        FormRow{"name_begun", FirstBytes(3), JournalForm::Incomplete},
        FormRow{"blocks_never_written", Bytes(72, 0), JournalForm::Incomplete},
        FormRow{"header_cut", FirstBytes(20), JournalForm::Damaged},
        FormRow{"entry_byte_torn", With(54, 0xBC, false), JournalForm::Damaged},
        FormRow{"later_version", With(8, 2, true), JournalForm::Unknown},
        FormRow{"longer_than_it_says", Sealed([] {
                    Bytes bytes = kJournalBytes;
                    bytes.insert(bytes.end() - 4, 0);
                    return bytes;
                }()),
                JournalForm::Unknown},
        FormRow{"entry_past_the_file", With(26, 0x17, true), JournalForm::Unknown},
        FormRow{"entry_beside_a_field", With(48, 0x79, true), JournalForm::Unknown},
        FormRow{"entry_outside_the_tables", With(57, 0x20, true), JournalForm::Unknown},
        FormRow{"entry_five_wide", With(52, 5, true), JournalForm::Unknown},
        FormRow{"one_field_twice", Sealed([] {
                    Bytes bytes = kJournalBytes;
                    std::copy_n(bytes.begin() + 48, 4, bytes.begin() + 55);
                    bytes[59] = 1;
                    bytes.erase(bytes.begin() + 62, bytes.begin() + 68);
                    bytes[16] = 66;
                    return bytes;
                }()),
                JournalForm::Unknown},
        FormRow{"count_beyond_every_field", With(15, 0x7F, true), JournalForm::Unknown},
        FormRow{"more_entries_than_bytes", With(12, 3, true), JournalForm::Unknown},
        FormRow{"fewer_entries_than_bytes", With(12, 1, true), JournalForm::Unknown}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
