#include "book_model.h"

#include "ui/platform/sjis.h"

#include <algorithm>
#include <unordered_map>

namespace kozenica {

namespace {

constexpr book_column text_columns[] = {book_column::item, book_column::kind, book_column::lowest_shop,
                                        book_column::latest_shop};

bool is_text(int column) {
    for (const book_column c : text_columns)
        if (int(c) == column) return true;
    return false;
}

bool is_date(int column) {
    return column == int(book_column::lowest_date) || column == int(book_column::latest_date);
}

// Shops and kind names repeat over the rows: each distinct text is decoded
// once.
class decoder_cache {
  public:
    QString operator()(const std::string& sjis) {
        const auto [at, is_new] = seen_.try_emplace(sjis);
        if (is_new) at->second = to_qstring(sjis);
        return at->second;
    }

  private:
    std::unordered_map<std::string, QString> seen_;
};

// A text from a month file may hold any byte; a tab or line end inside a cell
// would move the later cells of a pasted row, so each becomes a space.
QString tsv_cell(QString text) {
    for (QChar& ch : text)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            ch = QLatin1Char(' ');
    return text;
}

} // namespace

QString book_heading(int column) {
    static const QString headings[price_book_columns] = {
        QStringLiteral("品名"), QStringLiteral("種類"), QStringLiteral("回数"), QStringLiteral("最安値"),
        QStringLiteral("店名"), QStringLiteral("日付"), QStringLiteral("最近"), QStringLiteral("店名"),
        QStringLiteral("日付"), QStringLiteral("差")};
    return column >= 0 && column < price_book_columns ? headings[column] : QString();
}

Qt::Alignment book_cell_alignment(int column) {
    if (is_text(column)) return Qt::AlignLeft | Qt::AlignTop;
    if (is_date(column)) return Qt::AlignHCenter | Qt::AlignTop;
    return Qt::AlignRight | Qt::AlignTop;
}

void book_model::set_book(std::vector<price_book_entry> entries, const kind_list& kinds) {
    beginResetModel();
    entries_ = std::move(entries);
    kinds_ = kinds;
    texts_.clear();
    texts_.resize(entries_.size());
    filter_texts_.clear();
    order_ = price_book_order(entries_, kinds_, book_column::item, true);
    filter_.clear();
    refilter();
    endResetModel();
}

void book_model::set_filter(const QString& text) {
    if (text == filter_) return;
    beginResetModel();
    filter_ = text;
    refilter();
    endResetModel();
}

const book_model::row_texts& book_model::texts_of(std::size_t entry) const {
    std::unique_ptr<row_texts>& slot = texts_[entry];
    if (!slot) {
        slot = std::make_unique<row_texts>();
        const price_book_cells sjis = price_book_row(entries_[entry], kinds_);
        for (int c = 0; c < price_book_columns; ++c) {
            const std::string& text = sjis[std::size_t(c)];
            (*slot)[std::size_t(c)] = is_text(c) ? to_qstring(text) : ascii(text);
        }
    }
    return *slot;
}

void book_model::make_filter_texts() {
    if (filter_texts_.size() == entries_.size()) return;
    filter_texts_.reserve(entries_.size());
    decoder_cache decode;
    for (const price_book_entry& e : entries_)
        filter_texts_.push_back({to_qstring(e.item.view()), decode(kind_text(e.kind, kinds_)),
                                 decode(e.lowest_shop.str()), decode(e.latest_shop.str())});
}

void book_model::refilter() {
    if (filter_.isEmpty()) {
        shown_ = order_;
        return;
    }
    make_filter_texts();
    shown_.clear();
    for (const std::size_t i : order_) {
        const auto& texts = filter_texts_[i];
        if (std::any_of(texts.begin(), texts.end(),
                        [&](const QString& t) { return t.contains(filter_, Qt::CaseInsensitive); }))
            shown_.push_back(i);
    }
}

int book_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int book_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : price_book_columns;
}

QVariant book_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole)
        return texts_of(shown_[std::size_t(index.row())])[std::size_t(index.column())];
    if (role == Qt::TextAlignmentRole) return int(book_cell_alignment(index.column()));
    return {};
}

QVariant book_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return book_heading(section);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignHCenter | Qt::AlignTop);
    // A first click on a column sorts it upwards, a second one downwards.
    if (role == Qt::InitialSortOrderRole) return int(Qt::AscendingOrder);
    return {};
}

void book_model::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= price_book_columns) return;
    // A reset rather than a layout change: the selection is of rows as they
    // stood, and a new order starts without one.
    beginResetModel();
    order_ = price_book_order(entries_, kinds_, book_column(column), order == Qt::AscendingOrder);
    refilter();
    endResetModel();
}

const price_book_entry& book_model::entry(int row) const {
    return entries_.at(shown_.at(std::size_t(row)));
}

QString book_model::rows_as_tsv(const std::vector<int>& rows) const {
    QStringList lines;
    QStringList heading;
    for (int c = 0; c < price_book_columns; ++c)
        heading << book_heading(c);
    lines << heading.join(QLatin1Char('\t'));
    for (const int r : rows) {
        if (r < 0 || r >= rowCount()) continue;
        QStringList cells;
        for (const QString& cell : texts_of(shown_[std::size_t(r)]))
            cells << tsv_cell(cell);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace kozenica
