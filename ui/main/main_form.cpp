#include "main_form.h"

#include "core/ledger_editor.h"
#include "core/notifier.h"
#include "core/startup.h"
#include "core/texts.h"
#include "ledger_model.h"
#include "ledger_view.h"
#include "tool_icons.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/list_window/list_form.h"
#include "ui/platform/fonts.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <ctime>

namespace kozenica {

namespace {

// zandaka_boxKeyPress: the balance box takes no Enter.
class enter_swallower : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

constexpr int tool_button_width = 23;
constexpr int tool_button_height = 23;
constexpr int term_graph_button_width = 22;
// The smallest main window that shows every control: the tool bar without
// overlap, the grid's header and a line, the balance row.
constexpr QSize main_minimum(330, 160);

QPushButton* make_tool_button(QWidget* client, const char* name, const QString& hint, int width) {
    auto* button = new QPushButton(client);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->resize(width, tool_button_height);
    // The grid keeps the keyboard while the tool bar is used.
    button->setFocusPolicy(Qt::NoFocus);
    const QImage icon = tool_icon_image(button->objectName());
    button->setIcon(QIcon(QPixmap::fromImage(icon)));
    button->setIconSize(icon.size());
    return button;
}

} // namespace

QString main_caption(const month_state& state) {
    if (state.open_name.empty()) return QStringLiteral("Kozenica");
    return QStringLiteral("Kozenica [") + to_qstring(state.open_name.view()) + QStringLiteral("]");
}

main_form::main_form(std::string program_dir, notifier& notify, modal_runner& runner, QWidget* parent)
    : QMainWindow(parent), program_dir_(std::move(program_dir)), notify_(notify), runner_(runner),
      data_(std::make_unique<shuushi_data>()),
      editor_(std::make_unique<ledger_editor>(*data_, state_, corresp_, notify_)) {
    setFont(window_font());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    model_ = new ledger_model(*editor_, *data_, this);
    draw_shuushi_ = new ledger_view(*model_, client);
    connect(draw_shuushi_, &ledger_view::enter_pressed, this, &main_form::draw_shuushiKeyPress);
    zandaka_button_ = new QPushButton(QStringLiteral("残高"), client);
    zandaka_button_->setObjectName(QStringLiteral("zandaka_button"));
    zandaka_button_->setToolTip(QStringLiteral("残高算出"));
    zandaka_button_->resize(96, 21);
    connect(zandaka_button_, &QPushButton::clicked, this, &main_form::zandaka_calc_and_disp);
    zandaka_box_ = new QLineEdit(client);
    zandaka_box_->setObjectName(QStringLiteral("zandaka_box"));
    zandaka_box_->setReadOnly(true);
    zandaka_box_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    zandaka_box_->resize(125, 21);
    zandaka_box_->installEventFilter(new enter_swallower(zandaka_box_));
    build_tool_bar();
    build_menus();
    FormCreate();
    // The windows that live for the whole run, created hidden in this order.
    list_form_ = new list_form(this);
    hyou_form_ = new hyou_form(this);
    file_name_form_ = new file_name_form(this);
}

main_form::~main_form() = default;

QTableView* main_form::draw_shuushi() const {
    return draw_shuushi_;
}

void main_form::FormCreate() {
    // Saves cut short by a killed program leave their temporary files behind,
    // beside the program or where its links lead.
    (void)remove_stale_save_temporaries(program_dir_, std::time(nullptr));
    startup_files files = read_startup_files(program_dir_);
    settings_ = files.settings;
    kinds_ = std::move(files.kinds);
    corresp_ = std::move(files.corresp);
    if (files.kind_list_missing) notify_.tell(message_kind::error, texts::no_kind_list);
    for (const std::string& warning : files.warnings)
        notify_.tell(message_kind::warning, warning);

    outer_frame::of(*this).place({settings_[setting::main_left], settings_[setting::main_top],
                                  settings_[setting::main_width], settings_[setting::main_height]},
                                 main_minimum);
    for (int c = 0; c < ledger_model::column_count; ++c)
        draw_shuushi_->setColumnWidth(c, settings_[setting::ledger_column0 + c]);

    reset_month();
    disp_data();
}

void main_form::reset_month() {
    init_data(*data_, state_);
    file_seen_ = seen_now(*data_, state_.open_path.str());
    zandaka_box_->clear();
}

void main_form::disp_data() {
    setWindowTitle(main_caption(state_));
    editor_->project();
    model_->reload();
    draw_shuushi_->set_current_cell(1, 1);
}

void main_form::build_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    // The menu bar keeps the system's menu font whatever the window's font.
    QFont menu_font = QApplication::font(bar);
    menu_font.setResolveMask(QFont::AllPropertiesResolved);
    bar->setFont(menu_font);

    struct item {
        const char* name; // null for a separator
        QString caption;
        void (main_form::*handler)();
    };
    const auto add_menu = [&](const char* name, const QString& caption, std::initializer_list<item> items) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        for (const item& i : items) {
            if (!i.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(i.caption);
            action->setObjectName(QLatin1String(i.name));
            connect(action, &QAction::triggered, this, i.handler);
        }
    };
    add_menu("file_menu", QStringLiteral("ファイル(&F)"),
             {{"file_create", QStringLiteral("新規作成(&N)"), &main_form::file_createClick},
              {"file_load", QStringLiteral("開く(&O)"), &main_form::file_loadClick},
              {"file_overwrite", QStringLiteral("上書き保存する(&S)"), &main_form::file_overwriteClick},
              {"file_save", QStringLiteral("名前をつけて保存する(&A)"), &main_form::file_saveClick},
              {nullptr, {}, nullptr},
              {"Exit", QStringLiteral("終了(&X)"), &main_form::ExitClick}});
    add_menu("edit_menu", QStringLiteral("編集(&E)"),
             {{"go_top_line_menu", QStringLiteral("先頭へ移動(&T)"), &main_form::go_top_line},
              {"go_bottom_line_nemu", QStringLiteral("最終行へ移動(&B)"), &main_form::go_bottom_line},
              {"show_list_form_menu", QStringLiteral("種類リストの表示(&K)"), &main_form::show_list_form},
              {"font_menu", QStringLiteral("フォントの変更(&F)"), &main_form::font_menuClick},
              {nullptr, {}, nullptr},
              {"insert_line", QStringLiteral("行の挿入(&I)"), &main_form::insert_lineClick},
              {"delete_line", QStringLiteral("行の削除(&D)"), &main_form::delete_lineClick},
              {"copy_befor_line_menu", QStringLiteral("１行上をコピー(&C)"), &main_form::copy_befor_line},
              {nullptr, {}, nullptr},
              {"zandaka_sanshutu", QStringLiteral("残高算出(&Q)"), &main_form::zandaka_calc_and_disp},
              {"date_sort_menu", QStringLiteral("日付順に並び替え(&S)"), &main_form::date_sort},
              {"versions_menu", QStringLiteral("以前の版に戻す(&V)..."), &main_form::versions_menuClick}});
    add_menu("graph_menu", QStringLiteral("グラフ(&G)"),
             {{"show_graph_window_menu", QStringLiteral("月内集計グラフの表示(&R)"),
               &main_form::show_graph_window},
              {"term_graph_menu", QStringLiteral("期間変動グラフの表示(&T)"), &main_form::term_graph},
              {"year_table_menu", QStringLiteral("年間集計(&Y)"), &main_form::show_year_table}});
    add_menu("search_menu", QStringLiteral("検索(&S)"),
             {{"search_bottom_price_menu", QStringLiteral("最安値探索(&B)"), &main_form::search_bottom_price},
              {"price_book_menu", QStringLiteral("底値表(&P)"), &main_form::search_price_book}});
    add_menu("help_menu", QStringLiteral("ヘルプ(&H)"),
             {{"manual_menu", QStringLiteral("マニュアル(&M)"), &main_form::manual_menuClick},
              {"version", QStringLiteral("バージョン(&A)"), &main_form::versionClick}});
    // The desktop's usual keys beside the access letters; none of them is a
    // key the cell editor or an input method takes.
    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"file_create", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"file_load", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"file_overwrite", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"file_save", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const auto& [name, keys] : shortcuts)
        bar->findChild<QAction*>(QLatin1String(name))->setShortcut(keys);
}

void main_form::build_tool_bar() {
    struct tool {
        QPushButton*& button;
        const char* name;
        QString hint;
        void (main_form::*handler)();
        int width;
    };
    constexpr int w = tool_button_width;
    const tool tools[] = {
        {file_load_button_, "file_load_button", QStringLiteral("開く"), &main_form::file_loadClick, w},
        {file_overwrite_button_, "file_overwrite_button", QStringLiteral("上書き保存する"),
         &main_form::file_overwriteClick, w},
        {go_top_line_button_, "go_top_line_button", QStringLiteral("先頭へ移動"), &main_form::go_top_line, w},
        {go_bottom_line_button_, "go_bottom_line_button", QStringLiteral("最終行へ移動"),
         &main_form::go_bottom_line, w},
        {show_list_form_button_, "show_list_form_button", QStringLiteral("種類リストの表示"),
         &main_form::show_list_form, w},
        {show_graph_window_button_, "show_graph_window_button", QStringLiteral("月内集計グラフの表示"),
         &main_form::show_graph_window, w},
        {term_graph_button_, "term_graph_button", QStringLiteral("期間変動グラフの表示"),
         &main_form::term_graph, term_graph_button_width},
        {date_sort_button_, "date_sort_button", QStringLiteral("日付順に並び替え"), &main_form::date_sort, w},
        {search_bottom_price_button_, "search_bottom_price_button", QStringLiteral("最安値探索"),
         &main_form::search_bottom_price, w},
        {copy_befor_line_button_, "copy_befor_line_button", QStringLiteral("１行上をコピー"),
         &main_form::copy_befor_line, w},
        {inser_line_button_, "inser_line_button", QStringLiteral("行の挿入"), &main_form::insert_lineClick,
         w},
        {del_line_button_, "del_line_button", QStringLiteral("行の削除"), &main_form::delete_lineClick, w}};
    for (const tool& t : tools) {
        t.button = make_tool_button(centralWidget(), t.name, t.hint, t.width);
        connect(t.button, &QPushButton::clicked, this, t.handler);
    }
}

void main_form::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void main_form::FormResize() {
    QWidget* client = centralWidget();
    const int cw = client->width();
    const int ch = client->height();
    file_load_button_->move(1, 2);
    file_overwrite_button_->move(file_load_button_->width() + 5, 2);
    QPushButton* const chain[] = {
        file_overwrite_button_, go_top_line_button_,         go_bottom_line_button_,
        show_list_form_button_, show_graph_window_button_,   term_graph_button_,
        date_sort_button_,      search_bottom_price_button_, copy_befor_line_button_};
    for (std::size_t i = 1; i < std::size(chain); ++i)
        chain[i]->move(chain[i - 1]->x() + chain[i - 1]->width() + 4, 2);
    inser_line_button_->move(cw - inser_line_button_->width() - del_line_button_->width() - 5, 2);
    del_line_button_->move(cw - del_line_button_->width() - 1, 2);
    zandaka_button_->move(cw - zandaka_button_->width() - zandaka_box_->width() - 4,
                          ch - zandaka_button_->height());
    zandaka_box_->move(cw - zandaka_box_->width(), ch - zandaka_button_->height());
    const int grid_top = go_top_line_button_->height() + 4;
    draw_shuushi_->setGeometry(0, grid_top, cw, ch - grid_top - (zandaka_button_->height() + 2));
}

void main_form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        draw_shuushi_->setFocus();
    }
}

void main_form::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace kozenica
