#include "tool_icons.h"

#include <array>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace kozenica {

namespace {

// One letter per colour of the 16-colour palette; '.' is transparent.
struct palette_entry {
    char letter;
    QRgb rgb;
};
constexpr std::array<palette_entry, 16> palette{{
    {'k', 0xff000000},
    {'m', 0xff800000},
    {'g', 0xff008000},
    {'o', 0xff808000},
    {'n', 0xff000080},
    {'p', 0xff800080},
    {'t', 0xff008080},
    {'s', 0xffc0c0c0},
    {'a', 0xff808080},
    {'r', 0xffff0000},
    {'l', 0xff00ff00},
    {'y', 0xffffff00},
    {'b', 0xff0000ff},
    {'f', 0xffff00ff},
    {'c', 0xff00ffff},
    {'w', 0xffffffff},
}};

QImage from_art(std::initializer_list<const char*> rows) {
    const int height = int(rows.size());
    const int width = int(std::strlen(*rows.begin()));
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const auto& e : palette)
        colours << e.rgb;
    colours << qRgba(0, 0, 0, 0);
    image.setColorTable(colours);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x) {
            int index = int(palette.size()); // transparent, also for a short row
            if (x < int(std::strlen(row)))
                for (std::size_t i = 0; i < palette.size(); ++i)
                    if (palette[i].letter == row[x]) index = int(i);
            image.setPixel(x, y, uint(index));
        }
        ++y;
    }
    return image;
}

QImage file_load() {
    return from_art({
        "................",
        "..........bbbbb.",
        "...........bbbb.",
        "..........bbbbb.",
        ".........bbb.bb.",
        "..kkkk..bbb...b.",
        ".kyyyyk.bb......",
        "kyyyyyykkkkkk...",
        "kyyyyyyyyyyyk...",
        "kyyykkkkkkkkkkkk",
        "kyykyyyyyyyyyyk.",
        "kykyyyyyyyyyyk..",
        "kkyyyyyyyyyyk...",
        "kkkkkkkkkkkkk...",
        "................",
        "................",
    });
}

QImage file_overwrite() {
    return from_art({
        "..........bb....",
        "..........bb....",
        "..........bb....",
        "........bbbbbb..",
        ".kkkkkkkkbbbbkk.",
        ".knwwwwwwwbbwnk.",
        ".knwwwwwwwwwwnk.",
        ".knwaaaaaaaawnk.",
        ".knwwwwwwwwwwnk.",
        ".knnnnnnnnnnnnk.",
        ".knnssssssssnnk.",
        ".knnssnnssssnnk.",
        ".knnssnnssssnnk.",
        ".knnssssssssnnk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    });
}

QImage go_top_line() {
    return from_art({
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        ".......bb.......",
        "......bbbb......",
        ".....bbbbbb.....",
        "....bbbbbbbb....",
        "...bbbbbbbbbb...",
        "..bbbbbbbbbbbb..",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "................",
    });
}

QImage go_bottom_line() {
    return from_art({
        "................",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "..bbbbbbbbbbbb..",
        "...bbbbbbbbbb...",
        "....bbbbbbbb....",
        ".....bbbbbb.....",
        "......bbbb......",
        ".......bb.......",
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    });
}

QImage show_list_form() {
    return from_art({
        ".kkkkkkkkk......",
        ".kwwwwwwwk......",
        ".kwnnnnnwk......",
        ".kwwwwwwwk......",
        ".kwnnkkkkkkkkkk.",
        ".kwwwkwwwwwwwwk.",
        ".kwnnkwnnnnnnwk.",
        ".kwwwkwwwwwwwwk.",
        ".kwnnkwnnnnnnwk.",
        ".kwwwkwwwwwwwwk.",
        ".kkkkkwnnnnnnwk.",
        ".....kwwwwwwwwk.",
        ".....kwnnnnnnwk.",
        ".....kwwwwwwwwk.",
        ".....kkkkkkkkkk.",
        "................",
    });
}

QImage show_graph_window() {
    return from_art({
        "......kkkk......",
        "....kkykkrkk....",
        "..kkyyykkrrrkk..",
        "..kyyyykkrrrrk..",
        ".kyyyyykkrrrrrk.",
        ".kyyyyykkrrrrkk.",
        "kyyyyyykkrrkkklk",
        "kyyyyyyykkkllllk",
        "kyyyykkkkllllllk",
        "kykkkbbbkllllllk",
        ".kkbbbbbbkllllk.",
        ".kbbbbbbbkklllk.",
        "..kbbbbbbbkllk..",
        "..kkbbbbbbbkkk..",
        "....kkbbbbkk....",
        "......kkkk......",
    });
}

QImage term_graph() {
    return from_art({
        "kkkkkkkkkkkkkkkk",
        "kcccctcccctccrck",
        "kcccctcccctcrrck",
        "kcccctcccctrrcck",
        "kttttttttttrtttk",
        "kcccctccccrccctk",
        "kcccctcccrrccctk",
        "kcrccrccrrcccctk",
        "ktrrtrrtrttttttk",
        "krctrctrrccctcck",
        "kcccrccrccccctck",
        "kcccrrcccccccctk",
        "kttttttttttttttk",
        "kcccctcccctcccck",
        "kcccctcccctcccck",
        "kkkkkkkkkkkkkkkk",
    });
}

QImage date_sort() {
    return from_art({
        "................",
        "..kk.......bb...",
        ".kkk.......bb...",
        "..kk.......bb...",
        "..kk.......bb...",
        "..kk.......bb...",
        ".kkkk......bb...",
        "...........bb...",
        "kkkk..kk...bb...",
        "...kk.kk...bb...",
        ".kkk..kk.bbbbbb.",
        "...kk.kk..bbbb..",
        "...kk.kk...bb...",
        "kkkk..kk........",
        "................",
        "................",
    });
}

QImage search_bottom_price() {
    return from_art({
        "................ggg", "................ggg", "................ggg", "................ggg",
        "....n...........ggg", "nnnnnnnnn.......ggg", "n.......n.......ggg", "...n.............gg",
        "..n...........n..gg", "nnnnnnnnn.n....n.gg", "..n...n...n...n..gg", "..n..n....n...n..gg",
        "...nn.....n...n....", "..n..nn...n..n.....", "nn.....nn..nn...ggg", "................ggg",
        "................ggg", "...................", "...................",
    });
}

QImage copy_befor_line() {
    return from_art({
        "................",
        "kkkkkkkkkk......",
        "kwwwwwwwwkbbb...",
        "kwaaaaaawk...b..",
        "kwwwwwwwwk....b.",
        "kkkkkkkkkk....b.",
        "..............b.",
        "..............b.",
        "....kkkkkk....b.",
        "..b.kwwwwk...b..",
        ".bb.kwaaaw.bb...",
        "bbbbbbbbbbb.....",
        ".bb.kwwwwk......",
        "..b.kkkkkk......",
        "................",
        "................",
    });
}

QImage inser_line() {
    return from_art({
        "......kkkkkkkkkk",
        "......kwwwwwwwwk",
        "......kwnnnnnnwk",
        "......kwwwwwwwwk",
        "......kwnnnnnnwk",
        ".b....kwwwwwwwwk",
        ".bb...kwwwwwwwwk",
        "bbbbbbbbbwwwwwwk",
        ".bb...kwwwwwwwwk",
        ".b....kwwwwwwwwk",
        "......kwnnnnnnwk",
        "......kwwwwwwwwk",
        "......kwnnnnnnwk",
        "......kwwwwwwwwk",
        "......kkkkkkkkkk",
        "................",
    });
}

QImage del_line() {
    return from_art({
        "kkkkkkkk........",
        "kwwwwwwk........",
        "kwnnnnwk........",
        "kwwwwwwk........",
        "kwnnnnwk........",
        "kwwwwwwk.b......",
        "kwwwwwwk.bb.....",
        "kwwwbbbbbbbb.r.r",
        "kwwwwwwk.bb...r.",
        "kwwwwwwk.b....r.",
        "kwnnnnwk.....r.r",
        "kwwwwwwk........",
        "kwnnnnwk........",
        "kwwwwwwk........",
        "kkkkkkkk........",
        "................",
    });
}

} // namespace

QImage tool_icon_image(const QString& button_name) {
    struct named {
        const char* name;
        QImage (*make)();
    };
    static const named icons[] = {
        {"file_load_button", file_load},
        {"file_overwrite_button", file_overwrite},
        {"go_top_line_button", go_top_line},
        {"go_bottom_line_button", go_bottom_line},
        {"show_list_form_button", show_list_form},
        {"show_graph_window_button", show_graph_window},
        {"term_graph_button", term_graph},
        {"date_sort_button", date_sort},
        {"search_bottom_price_button", search_bottom_price},
        {"copy_befor_line_button", copy_befor_line},
        {"inser_line_button", inser_line},
        {"del_line_button", del_line},
    };
    for (const auto& i : icons)
        if (button_name == QLatin1String(i.name)) return i.make();
    return {};
}

} // namespace kozenica
