#include "ledger.h"

#include "texts.h"

namespace kozenica {

shuushi_line carried_forward_line() {
    shuushi_line line;
    line.day = 1;
    line.item.assign(texts::kurikoshi);
    return line;
}

void init_data(shuushi_data& data, month_state& state) {
    data.lines.fill(shuushi_line{});
    data.lines[1] = carried_forward_line();
    data.row_count = 2;
    state = month_state{};
}

} // namespace kozenica
