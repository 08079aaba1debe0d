#pragma once
// The messages of the ledger editor's Enter walk and row commands, as
// Shift-JIS bytes. Made with scripts/sjis-literal; the comment shows each text.

namespace kozenica::texts {

inline constexpr char no_more_lines[] = "\x82\xb1\x82\xea\x88\xc8\x8f\xe3\x91\x9d\x82\xe2\x82\xb9\x82\xdc\x82"
                                        "\xb9\x82\xf1" /* これ以上増やせません */;

inline constexpr char last_line_stays[] =
    "\x8ds\x82\xf0\x8a\xae\x91S\x82\xc9\x96\xb3\x82\xad\x82\xb7\x8e\x96\x82\xcd"
    "\x8fo\x97\x88\x82\xdc\x82\xb9\x82\xf1" /* 行を完全に無くす事は出来ません */;

inline constexpr char confirm_delete_line[] = "\x8ds\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xc4\x82\xe0\x82\xe6"
                                              "\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9"
                                              "\x3f" /* 行を削除してもよろしいですか? */;

inline constexpr char no_line_above[] =
    "\x82\xb1\x82\xb1\x82\xe6\x82\xe8\x8f\xe3\x82\xcc\x8ds\x82\xaa\x82\xa0\x82\xe8\x82\xdc"
    "\x82\xb9\x82\xf1" /* ここより上の行がありません */;

inline constexpr char confirm_copy_line_above[] =
    "\x82P\x8ds\x8f\xe3\x82\xcc\x8ds\x82\xf0\x83R\x83s\x81["
    "\x82\xb5\x82\xc4\x82\xe0\x82\xe6\x82\xeb\x82\xb5\x82\xa2"
    "\x82\xc5\x82\xb7\x82\xa9\x3f" /* １行上の行をコピーしてもよろしいですか? */;

inline constexpr char version[] = "Kozenica Ver 0.31";

} // namespace kozenica::texts
