// The price book's result window with 10,000 distinct items: from handing it
// the book to its first painted table, and from a click on a column's header
// to the table painted in the new order.
#include "core/price_book.h"
#include "paint_watch.h"
#include "ui/book_window/book_form.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace kozenica {
namespace {

using bench::paint_watch;

constexpr int book_items = 10000;

// Ten thousand items bought at forty shops (Shift-JIS names), two or three
// times each over two years.
const price_book& ten_thousand_items() {
    static const price_book book = [] {
        price_book b;
        const std::string shop_head = "\x83X\x81[\x83p\x81["; // スーパー
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < book_items; ++i) {
                if (round == 2 && i % 2 == 0) continue;
                shuushi_line line;
                line.day = std::int8_t(i % 28 + 1);
                line.item.assign("\x8f\xa4\x95\x69" + std::to_string(i)); // 商品
                line.shop.assign(shop_head + std::to_string((i + round) % 40));
                line.kind = i % 12;
                line.expense = 100 + (i * 37 + round * 11) % 3000;
                b.add(line, std::uint16_t(2023 + round / 2), std::uint16_t(round * 5 + 1));
            }
        }
        return b;
    }();
    return book;
}

void wait_for_paint(paint_watch& watch) {
    while (!watch.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void BM_price_book_window_first_paint(benchmark::State& state) {
    const price_book& book = ten_thousand_items();
    const kind_list kinds;
    period_query query;
    for (auto _ : state) {
        auto window = std::make_unique<book_form>(nullptr);
        paint_watch watch;
        window->book_disp()->viewport()->installEventFilter(&watch);
        window->set_book(book, kinds, query);
        window->show();
        wait_for_paint(watch);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(book.size());
}
BENCHMARK(BM_price_book_window_first_paint)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_price_book_window_sort(benchmark::State& state) {
    const price_book& book = ten_thousand_items();
    book_form window(nullptr);
    window.set_book(book, {}, {});
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    QHeaderView* header = window.book_disp()->horizontalHeader();
    paint_watch watch;
    window.book_disp()->viewport()->installEventFilter(&watch);
    int column = 0;
    for (auto _ : state) {
        // A different column each time, the way a user reads the book.
        column = column % (price_book_columns - 1) + 1;
        QApplication::processEvents();
        watch.painted = false;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
        wait_for_paint(watch);
    }
}
BENCHMARK(BM_price_book_window_sort)->Unit(benchmark::kMillisecond)->Iterations(18);

} // namespace
} // namespace kozenica
