// List files as a modern text editor saves them (UTF-8, with or without the
// byte-order mark, LF line ends) read exactly as the same lists in Shift-JIS.
#include "core/lists.h"
#include "core/startup.h"
#include "core/text_encoding.h"
#include "core/texts.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace kozenica {
namespace {

using namespace testing;

// The C library's converter, or nothing where it fails.
std::optional<std::string> c_library(const char* to, const char* from, std::string in) {
    const iconv_t cd = iconv_open(to, from);
    char out[8];
    char *src = in.data(), *dst = out;
    std::size_t src_left = in.size(), dst_left = sizeof out;
    const bool done = iconv(cd, &src, &src_left, &dst, &dst_left) != std::size_t(-1) && src_left == 0;
    iconv_close(cd);
    return done ? std::optional(std::string(out, sizeof out - dst_left)) : std::nullopt;
}
std::optional<std::string> iconv_sjis(char32_t cp) {
    return c_library("CP932", "UTF-32LE", std::string(reinterpret_cast<const char*>(&cp), 4));
}

TEST(sjis_code, every_code_point_as_the_c_library_converts_it) {
    int differences = 0, held = 0;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::optional<std::uint16_t> code = sjis_code(cp);
        std::optional<std::string> ours;
        if (code)
            ours = *code < 0x100 ? std::string(1, char(*code)) : std::string{char(*code >> 8), char(*code)};
        const std::optional<std::string> theirs = iconv_sjis(cp);
        held += theirs.has_value();
        if (ours != theirs && ++differences <= 10) ADD_FAILURE() << "U+" << std::hex << std::uint32_t(cp);
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(held, 9000); // the C library's converter was really there
    EXPECT_FALSE(sjis_code(0x1F600) || sjis_code(0x20000));
}

TEST(sjis_to_utf8, every_double_byte_code_as_the_c_library_reads_it_and_broken_bytes_as_u_fffd) {
    int differences = 0;
    for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
        if (!is_sjis_lead_byte(code >> 8) || !is_sjis_trail_byte(code & 0xFF)) continue;
        const std::string bytes{char(code >> 8), char(code)};
        const std::string theirs = c_library("UTF-8", "CP932", bytes).value_or("\uFFFD");
        if (sjis_to_utf8(bytes) != theirs && ++differences <= 10) ADD_FAILURE() << std::hex << code;
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(sjis_to_utf8("a\x80\xa0\xfd\x81\x20\xb1\x82\xa0\x82"),
              "a\uFFFD\uFFFD\uFFFD\uFFFD ｱあ"); // a cut lead byte: nothing
}

// The characters on which the C library's table, now the one converter of the windows too, and
// the windows' former converter disagreed: the code, and what a text box keeps (0: nothing).
TEST(stored_character, is_the_character_its_code_reads_as) {
    // clang-format off
    const struct { char32_t typed; std::uint16_t code; char32_t stored; } cases[] = {
        {U'〜', 0x8160, U'～'}, {U'～', 0x8160, U'～'}, {U'−', 0x817C, U'－'}, {U'‖', 0x8161, U'∥'}, {U'—', 0x815C, U'―'},
        {U'¢', 0x8191, U'￠'}, {U'£', 0x8192, U'￡'}, {U'¬', 0x81CA, U'￢'}, {U'¥', 0x5C, U'\\'}, {U'‾', 0x7E, U'~'},
        {U'¦', 0, 0}, {0xF86F, 0, 0}, {U'￤', 0xFA55, U'￤'}, {U'纊', 0xFA5C, U'纊'}, {U'é', 0, 0}, {U'ｱ', 0xB1, U'ｱ'}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(sjis_code(c.typed).value_or(0), stored_character(c.typed).value_or(0)),
                  std::pair(c.code, c.stored))
            << std::hex << std::uint32_t(c.typed);
}

TEST(utf8_to_sjis, converts_cuts_at_the_byte_and_marks_what_it_could_not_hold) {
    // clang-format off
    const struct { std::string utf8; std::size_t max; std::string sjis; bool lossless; } cases[] = {
        {"", 20, "", true}, {"abc", 2, "ab", true}, {"食費", 20, sjis("食費"), true}, {"食費", 3, sjis("食費").substr(0, 3), true},
        {"～〜", 20, "\x81\x60\x81\x60", true}, {"¥‾", 20, "\\~", true}, {"ｱﾟ", 20, "\xb1\xdf", true},
        {"\uE000\uE757", 20, "\xf0\x40\xf9\xfc", true}, {"ⅰ", 20, "\xfa\x40", true}, {"é😀x", 20, "??x", false},
        {"食費😀", 4, sjis("食費"), true}, // past the cut nothing is looked at
        {"\xc0\xaf", 20, "??", false}, {"\xed\xa0\x80", 20, "???", false}, {"\xf4\x90\x80\x80", 20, "????", false},
        {"\xe9\xa3", 20, "??", false}};
    // clang-format on
    for (const auto& c : cases) {
        const sjis_conversion r = utf8_to_sjis(c.utf8, c.max);
        EXPECT_EQ(std::pair(r.bytes, r.lossless), std::pair(c.sjis, c.lossless)) << c.utf8;
    }
}

// Number and name lines in pairs, in Shift-JIS or UTF-8 with any line ends, as the same list.
TEST(read_list_file, number_and_name_line_pairs_in_either_encoding) {
    const std::string kinds =
        "0\r\n繰越・その他\r\n1\r\n食費\r\n12\r\n日用品と雑貨と消耗品など\r\n-3\r\nｶﾞｿﾘﾝ～\r\n";
    const std::string shift_jis = sjis(kinds), bom(utf8_bom);
    const std::vector<list_entry> expected = {entry(0, sjis("繰越・その他")), entry(1, sjis("食費")),
                                              entry(12, sjis("日用品と雑貨と消耗品な")),
                                              entry(-3, sjis("ｶﾞｿﾘﾝ～"))};
    ASSERT_EQ(expected[2].name.size(), 20u);
    const auto lf = [](std::string s) { return std::erase(s, '\r'), s; };
    const auto cr = [](std::string s) { return std::erase(s, '\n'), s; };
    // 食, and a CR LF, across two pieces of the reader
    const std::string straddling = std::string(16379, ' ') + "7\r\n食費\r\n", a19(19, 'a'),
                      crossing = "9" + std::string(16382, ' ') + "\r\nA\r\n";
    using problem = list_text_problem;
    // clang-format off
    const struct { const char* what; std::string content; std::vector<list_entry> entries; problem told = problem::none; } cases[] = {
        {"empty file", "", {}}, {"CR alone", "1\rA\r2\rB", {entry(1, "A"), entry(2, "B")}},
        {"LF alone", "1\nA\r\n2\nB\n", {entry(1, "A"), entry(2, "B")}}, {"CR LF LF: an empty line", "1\r\n\nA\r\n", {entry(1, ""), entry(0, "")}},
        {"LF CR: two line ends", "1\n\rA\n", {entry(1, ""), entry(0, "")}},
        {"0x1A ends the file, even inside a line", "1\r\nA\r\n2\x1A\r\nB\r\n", {entry(1, "A"), entry(2, "")}},
        {"number line last", "1\r\nA\r\n5", {entry(1, "A"), entry(5, "")}}, {"empty lines", "\r\n\r\n", {entry(0, "")}},
        {"name cut inside a character", "1\r\n" + a19 + sjis("品") + "x\r\n2\r\nB",
         {entry(1, a19 + sjis("品").substr(0, 1)), entry(2, "B")}},
        {"hex and junk numbers", "$FFFFFFFF\r\nminus\r\nabc\r\nzero\r\n", {entry(-1, "minus"), entry(0, "zero")}},
        {"stops after 99 entries", repeat("7\r\nname\r\n", 150), std::vector(99, entry(7, "name"))},
        {"CR last in a piece, LF first in the next", crossing, {entry(0, "A")}},
        {"Shift-JIS, CR LF", shift_jis, expected}, {"Shift-JIS, LF", lf(shift_jis), expected},
        {"UTF-8, CR LF", kinds, expected}, {"UTF-8 with the mark, LF", bom + lf(kinds), expected}, {"UTF-8, CR", cr(kinds), expected},
        {"the mark split from the number", bom + "12\r\nA\r\n", {entry(12, "A")}},
        {"ASCII only: the Shift-JIS path", "5\nfood\n6\nrent\n", {entry(5, "food"), entry(6, "rent")}},
        {"half-width katakana only: Shift-JIS", "1\r\n\xb6\xde\xbd\r\n", {entry(1, "\xb6\xde\xbd")}},
        {"half-width katakana pairs that are valid UTF-8: Shift-JIS", "1\r\n\xca\xb2\xc2\xb0\r\n", {entry(1, "\xca\xb2\xc2\xb0")}},
        {"one multi-byte character after 99 entries", repeat("7\nA\n", 120) + "é", std::vector(99, entry(7, "A"))},
        {"UTF-8 across pieces", straddling, {entry(0, sjis("食費"))}},
        {"UTF-8 up to 0x1A, anything after it", "1\r\n食費\x1A\xff\x82", {entry(1, sjis("食費"))}},
        {"a character Shift-JIS cannot hold", "1\ncafé 😀\n2\nパン\n", {entry(1, "caf? ?"), entry(2, sjis("パン"))}, problem::unmappable_character},
        {"it lies past the 20-byte cut", "1\n" + repeat("費", 10) + "😀\n", {entry(1, sjis(repeat("費", 10)))}},
        {"neither encoding", "1\r\n\x82\r\n2\r\n\xff" "A\r\n", {entry(1, "\x82"), entry(2, "\xff" "A")}, problem::unknown_encoding},
        {"the mark before Shift-JIS", bom + "1\r\n" + sjis("食費"), {entry(1, "?H??")}, problem::unknown_encoding}};
    // clang-format on
    temp_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const list_file parsed = parse_list_file(c.content),
                        read = read_list_file(write_bytes(dir.file("kindlist.dat"), c.content));
        EXPECT_EQ(std::pair(parsed.entries, parsed.problem), std::pair(c.entries, c.told));
        EXPECT_EQ(std::pair(read.entries, read.problem), std::pair(c.entries, c.told));
    }
}

// One warning for each list file at start, naming it; a sound list adds none.
TEST(read_startup_files, a_list_that_could_not_be_read_as_meant_is_named_in_one_warning) {
    const auto named = [](const char* name, const char* problem) {
        return texts::list_file_named + std::string(name) + problem;
    };
    // clang-format off
    const struct { std::string kinds, corresp; std::vector<std::string> warnings; } cases[] = {
        {sjis("1\r\n食費\r\n"), "1\n牛乳\n", {}},
        {"1\n食費😀\n2\n😀\n", sjis("1\r\n牛乳\r\n"), {named("kindlist.dat", texts::list_unmappable_character)}},
        {"1\n食費\n", "1\r\n\x82\r\n", {named("corresp.dat", texts::list_unknown_encoding)}},
        {"\xff", "1\n😀\n", {named("kindlist.dat", texts::list_unknown_encoding),
                             named("corresp.dat", texts::list_unmappable_character)}}};
    // clang-format on
    for (const auto& c : cases) {
        temp_dir dir;
        write_bytes(dir.file("kindlist.dat"), c.kinds);
        write_bytes(dir.file("corresp.dat"), c.corresp);
        EXPECT_EQ(read_startup_files(dir.path()).warnings, c.warnings) << c.kinds;
    }
    EXPECT_EQ(named("kindlist.dat", texts::list_unmappable_character),
              sjis("ファイル(kindlist.dat)にShift-JISで表せない文字があります。その文字は?で表示されます"));
    EXPECT_EQ(named("corresp.dat", texts::list_unknown_encoding),
              sjis("ファイル(corresp.dat)はShift-JISでもUTF-"
                   "8でもありません。名前が正しく表示されないことがあります"));
}

} // namespace
} // namespace kozenica
