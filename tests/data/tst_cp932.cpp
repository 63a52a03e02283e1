#include "cp932.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

// The names read the same through iconv on Linux and through the system's converter on Windows.
struct DecodeRow
{
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const DecodeRow& row, std::ostream* out)
{
    *out << row.name;
}

class DecodeCp932Test : public ::testing::TestWithParam<DecodeRow>
{
};

TEST_P(DecodeCp932Test, GivesUtf8AndAReplacementForEveryByteThatStartsNoCharacter)
{
    EXPECT_EQ(DecodeCp932(GetParam().bytes), GetParam().text);
}

const std::string Replacement = "\xEF\xBF\xBD";

std::string Repeated(std::string_view text, int times)
{
    std::string repeated;
    while (times-- > 0)
        repeated += text;
    return repeated;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeCp932Test,
    ::testing::Values(DecodeRow{"ascii", "T-34 (B)", "T-34 (B)"},
                      DecodeRow{"half_width_katakana", "\xD2\xAF\xBB\xB0", "ﾒｯｻｰ"},
                      DecodeRow{"double_byte_kanji", "\x97\xEB\x90\xED", "零戦"},
                      DecodeRow{"backslash_and_tilde_stay_ascii", "\x5C\x7E", "\\~"},
                      DecodeRow{"wave_dash_of_the_windows_table", "\x81\x60", "～"},
                      DecodeRow{"circled_digit_of_the_windows_table", "\x87\x40", "①"},
                      DecodeRow{"user_defined_area", "\xF0\x40", "\xEE\x80\x80"},
                      DecodeRow{"lead_byte_cut_at_the_end", "A\x97", "A" + Replacement},
                      DecodeRow{"lead_byte_before_a_space", "\x81\x20", Replacement + " "},
                      DecodeRow{"long_text_around_a_stray_byte",
                                std::string(3000, '\xB1') + "\x80" + std::string(3000, '\xB1'),
                                Repeated("ｱ", 3000) + Replacement + Repeated("ｱ", 3000)},
                      DecodeRow{"unassigned_double_byte", "\x85\x40", Replacement + "@"},
                      DecodeRow{"bytes_outside_the_published_table", "\x80\xA0\xFD\xFE\xFF",
                                Replacement + Replacement + Replacement + Replacement +
                                    Replacement},
                      DecodeRow{"nothing", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// What the window counts against a name's byte limit and what the sample writes.
struct EncodeRow
{
    const char* name;
    std::string text;
    std::string bytes;
    bool fits;
};

void PrintTo(const EncodeRow& row, std::ostream* out)
{
    *out << row.name;
}

class EncodeCp932Test : public ::testing::TestWithParam<EncodeRow>
{
};

TEST_P(EncodeCp932Test, GivesTheCodePageBytesAndAQuestionMarkForEveryCharacterItLacks)
{
    EXPECT_EQ(EncodeCp932(GetParam().text), GetParam().bytes);
    EXPECT_EQ(FitsCp932(GetParam().text), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeCp932Test,
    ::testing::Values(EncodeRow{"ascii", "T-34 (B)", "T-34 (B)", true},
                      EncodeRow{"half_width_katakana", "ﾒｯｻｰ", "\xD2\xAF\xBB\xB0", true},
                      EncodeRow{"double_byte_kanji", "零戦", "\x97\xEB\x90\xED", true},
                      EncodeRow{"nec_selected_ibm_kanji_as_ibm", "\xE7\xBA\x8A", "\xFA\x5C", true},
                      EncodeRow{"full_width_not_sign_as_jis", "￢", "\x81\xCA", true},
                      EncodeRow{"yen_sign_is_no_backslash", "¥5", "?5", false},
                      EncodeRow{"emoji_between_kanji", "兵\xF0\x9F\x98\x80器", "\x95\xBA?\x8A\xED",
                                false},
                      EncodeRow{"question_mark_itself", "?", "?", true},
                      EncodeRow{"nothing", "", "", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
