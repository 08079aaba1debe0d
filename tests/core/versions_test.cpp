#include "core/line_difference.h"
#include "core/month_versions.h"
#include "file_testing.h"

#include <gtest/gtest.h>
#include <random>

namespace kozenica {
namespace {

using namespace testing;
namespace fs = std::filesystem;
constexpr std::time_t day = 24 * 60 * 60, now = 1796598930;

// Version i kept i * age_step before one more save: how many it keeps, and the user's file.
TEST(month_versions, a_later_save_keeps_the_newest_30_and_all_younger_than_14_days) {
    // clang-format off
    const struct { int count; std::time_t age_step; std::size_t kept; } cases[] = {
        {0, day, 1}, {29, day, 30}, {40, day, 30}, {40, day / 4, 41}, {40, day * 2 / 5, 35}};
    // clang-format on
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string month = write_bytes(dir.file("2024_5.kzn"), "bytes on disk");
        fs::create_directories(versions_folder(month));
        for (int i = 1; i <= c.count; ++i)
            write_bytes(versions_folder(month) + version_name({now - i * c.age_step}, ".kzn"), "v");
        write_bytes(versions_folder(month) + "notes.txt", "the user's own file");
        ASSERT_EQ(replace_file(month, "new bytes", system_file_io(), now), save_result::saved);
        const std::vector<month_version> list = list_month_versions(month, new_month()); // newest first
        EXPECT_EQ(std::tuple(list.size(), list.back().name, read_bytes(list[0].path)),
                  std::tuple(c.kept + 1, "notes.txt", "bytes on disk"))
            << c.count;
    }
}

TEST(month_versions, only_changed_bytes_of_each_month_are_kept_and_one_second_keeps_them_all) {
    temp_dir dir, elsewhere;
    const std::string may = dir.file("2024_5.csv"), june = dir.file("2024_6.kzn");
    fs::create_symlink(write_bytes(elsewhere.file("target"), "target's bytes"), may);
    // clang-format off
    const struct { std::string path, content; std::vector<std::string> versions; } saves[] = {
        {may, "one", {"target's bytes"}}, {may, "one", {"target's bytes"}}, {may, "two", {"one", "target's bytes"}},
        {june, "new", {}}, {june, "new2", {"new"}}};
    // clang-format on
    for (const auto& s : saves) {
        ASSERT_EQ(replace_file(s.path, s.content, system_file_io(), now), save_result::saved);
        std::vector<std::string> kept;
        for (const month_version& v : list_month_versions(s.path, new_month()))
            kept.push_back(read_bytes(v.path));
        EXPECT_EQ(kept, s.versions) << s.path << " " << s.content;
    }
}

TEST(month_versions, the_list_reads_versions_only_and_tells_how_they_differ_from_the_month) {
    temp_dir dir;
    const std::string month = dir.file("2024_5.csv"), folder = versions_folder(month);
    fs::create_directories(folder + "20261207-081531.csv"); // a folder where a version would be
    write_bytes(folder + "20261207-081530.csv", "1,a,x,0,500,0,\r\n2,b,y,0,0,300,\r\n3,c,z,0,0,20,\r\n");
    write_bytes(folder + "20261206-000000.csv", "\r\n");
    write_bytes(folder + "a.kzn", "kozenic file");
    const shuushi_data in_hand = table_of({make_line(1, "a", "x", 0, 500), make_line(3, "c", "z", 0, 0, 20),
                                           make_line(4, "d"), make_line(5, "e")});
    const std::vector<month_version> list = list_month_versions(month, in_hand);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(std::tie(list[0].readable, list[3].readable, list[1].name, list[2].name, list[3].name),
              std::tuple(false, false, "20261207-081530.csv", "20261206-000000.csv", "a.kzn"));
    EXPECT_EQ(std::tie(list[1].readable, list[1].table->row_count, list[1].income, list[1].expense),
              std::tuple(true, 4, 500, 320));
    EXPECT_EQ(std::pair(list[1].difference, list[2].difference),
              std::pair(line_difference{2, 1, 0}, line_difference{3, 0, 1}));
}

// Months as letters; random months against their longest common subsequence.
TEST(line_difference, counts_whole_lines_in_order) {
    const auto lines = [](std::string_view letters) {
        std::vector<shuushi_line> out;
        for (char c : letters)
            out.push_back(make_line(1, std::string(1, c)));
        return out;
    };
    // clang-format off
    const struct { const char *from, *to; line_difference expected; } cases[] = {
        {"", "", {}}, {"abc", "abc", {}}, {"", "ab", {2, 0, 0}}, {"ab", "", {0, 2, 0}}, {"abc", "axc", {0, 0, 1}},
        {"abcdefghijklm", "abcm", {0, 9, 0}}, {"abc", "cab", {1, 1, 0}}, {"abcd", "xbyz", {0, 0, 3}},
        {"aaab", "baaa", {1, 1, 0}}, {"ab", "ba", {1, 1, 0}}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(count_line_difference(lines(c.from), lines(c.to)), c.expected) << c.from << " " << c.to;
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        std::string a(random() % 40, 'a'), b(random() % 40, 'a');
        const auto shuffle = [&](char& c) { c = char('a' + random() % 3); };
        std::for_each(a.begin(), a.end(), shuffle), std::for_each(b.begin(), b.end(), shuffle);
        std::vector<std::vector<std::size_t>> common(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = a.size(); i-- > 0;)
            for (std::size_t j = b.size(); j-- > 0;)
                common[i][j] =
                    a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
        const line_difference d = count_line_difference(lines(a), lines(b));
        EXPECT_EQ(std::pair(a.size() - d.removed - d.changed, b.size() - d.added - d.changed),
                  std::pair(common[0][0], common[0][0]))
            << a << " " << b;
    }
}

} // namespace
} // namespace kozenica
