// The price book command: the period dialog as the period commands show it,
// the month walk over every item (or the one named), and the book in its own
// result window, from which a row's price graph can be drawn again.
#include "core/notifier.h"
#include "core/price_book.h"
#include "main_form.h"
#include "period_commands.h"
#include "ui/book_window/book_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"

#include <system_error>

namespace kozenica {

namespace {

book_form& book_window_of(main_form& form) {
    if (book_form* shown = form.findChild<book_form*>(QString(), Qt::FindDirectChildrenOnly)) return *shown;
    auto* made = new book_form(&form);
    QObject::connect(made, &book_form::graph_requested, &form,
                     [&form](const period_query& query) { show_period_graph(form, query); });
    return *made;
}

void show_book(main_form& form, const price_book& book, const period_query& query) {
    book_form& window = book_window_of(form);
    window.set_book(book, form.kinds(), query);
    // Inset over the main window as the cheapest-price result opens.
    window.move(opening_point(form.frameGeometry(), 3, 10));
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

void main_form::search_price_book() {
    try {
        const auto query =
            ask_period_query(*this, QStringLiteral("底値表"), QStringLiteral("の底値を調べる"));
        if (!query) return;
        const std::optional<price_book> book = gather_price_book(*query, program_dir(), notify());
        // The user stopped the walk: nothing more to show.
        if (!book) return;
        if (book->empty()) {
            // Without an item name the book looked for every purchase.
            notify().tell(message_kind::warning,
                          query->item_name.empty()
                              ? to_sjis(QStringLiteral("範囲の中に支出のある行がありませんでした"))
                              : not_found_text(query->item_name.view()));
            return;
        }
        show_book(*this, *book, *query);
    } catch (const std::system_error& failure) {
        tell_io_error(notify(), failure);
    }
}

} // namespace kozenica
