// From a key pressed in the cell editor to the committed, repainted cell, in
// a month of 1999 lines.
#include "core/ledger_editor.h"
#include "ui/main/ledger_delegate.h"
#include "ui/main/ledger_model.h"
#include "ui/main/ledger_view.h"
#include "ui_editor_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace kozenica::bench {
namespace {

void fill_month(main_form& form) {
    shuushi_data& t = form.table();
    t.row_count = max_rows;
    for (int r = 1; r < max_rows; ++r) {
        shuushi_line& l = t.lines[std::size_t(r)];
        l.day = std::int8_t(r % 31 + 1);
        l.shop.assign("supermarket");
        l.item.assign("item");
        l.kind = r % 9;
        l.expense = r * 37;
    }
    form.disp_data();
}

void press(QWidget* target, Qt::Key key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &up);
}

// A shown main window over a full month, the cursor on an amount halfway down.
struct typing_window {
    bench_program_dir dir;
    silent_notifier notify;
    modal_runner runner;
    main_form form{dir.path(), notify, runner};
    ledger_view* grid = form.ledger_grid();
    QWidget* editor = nullptr;
    int digits = 0;

    typing_window() {
        fill_month(form);
        form.show();
        QApplication::processEvents();
        grid->set_current_cell(1000, 6);
        grid->scrollTo(grid->currentIndex());
        QApplication::processEvents();
        editor = grid->cell_editor();
    }

    // Types up to six digits, then clears the cell again, so that the amount
    // grows commas and loses them as a user's typing would.
    void next_key() {
        if (digits < 6) {
            press(editor, Qt::Key_7, QStringLiteral("7"));
            ++digits;
        } else {
            press(editor, Qt::Key_Backspace, QString());
            digits = 0;
        }
    }
};

void BM_keystroke_to_repainted_cell(benchmark::State& state) {
    typing_window w;
    for (auto _ : state) {
        w.next_key();
        w.grid->viewport()->repaint(w.grid->visualRect(w.grid->currentIndex()));
    }
    benchmark::DoNotOptimize(w.form.table().lines[1000].expense);
}
BENCHMARK(BM_keystroke_to_repainted_cell)->Unit(benchmark::kMicrosecond);

// The same, with the window's whole event loop turn after the key.
void BM_keystroke_and_event_loop(benchmark::State& state) {
    typing_window w;
    for (auto _ : state) {
        w.next_key();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_keystroke_and_event_loop)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kozenica::bench
