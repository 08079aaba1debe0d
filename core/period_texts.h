#pragma once
// The fixed texts of the period commands, as Shift-JIS bytes.
// Made with scripts/sjis-literal; the comment shows each text.

namespace kozenica::texts {

inline constexpr char wrong_range[] = "\x94\xcd\x88\xcd\x8ew\x92\xe8\x82\xaa\x8a\xd4\x88\xe1\x82\xc1\x82\xc4"
                                      "\x82\xa2\x82\xdc\x82\xb7" /* 範囲指定が間違っています */;

inline constexpr char missing_file_head[] = "\x83t\x83@\x83"
                                            "C\x83\x8b(" /* ファイル( */;
inline constexpr char missing_file_tail[] =
    ")\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1" /* )がありません */;

inline constexpr char not_found_tail[] = "\x82\xf0\x94\xad\x8c\xa9\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1"
                                         "\x82\xc5\x82\xb5\x82\xbd" /* を発見できませんでした */;

inline constexpr char too_many_points[] =
    "\x94\xad\x8c\xa9\x82\xb3\x82\xea\x82\xbd\x83"
    "f\x81[\x83^\x82\xaa\x8d\xc5\x91\xe5\x8c\xc2\x90\x94\x82\xf0\x0a"
    "\x92\xb4\x82\xa6\x82\xbd\x82\xcc\x82\xc5\x8c\x9f\x8d\xf5\x82\xf0\x91\xc5\x82\xbf\x90\xd8\x82\xe8\x82\xdc"
    "\x82"
    "\xb7" /* 発見されたデータが最大個数を\n超えたので検索を打ち切ります */;

} // namespace kozenica::texts
