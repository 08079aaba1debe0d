#pragma once
// The program's main window: tool bar, ledger grid, balance box and menus. It
// owns the month in hand, the settings block and both lists for the whole run.

#include "core/file_stamp.h"
#include "core/ledger.h"
#include "core/lists.h"
#include "core/settings.h"

#include <QMainWindow>
#include <memory>
#include <string>

class QAction;
class QFontDialog;
class QLineEdit;
class QPushButton;
class QTableView;

namespace kozenica {

class notifier;
class modal_runner;
class ledger_editor;
class ledger_model;
class ledger_view;
class list_form;
class hyou_form;
class file_name_form;

// The main window's caption: the program's title, with the month file's name
// once the month has one.
[[nodiscard]] QString main_caption(const month_state& state);

class main_form : public QMainWindow {
    Q_OBJECT

  public:
    // program_dir ends in its separator. The notifier shows every message and
    // the runner every modal window; tests pass scripted ones.
    main_form(std::string program_dir, notifier& notify, modal_runner& runner, QWidget* parent = nullptr);
    ~main_form() override;

    // The month in hand and what start-up read, for the commands and tests.
    [[nodiscard]] shuushi_data& table() { return *data_; }
    [[nodiscard]] month_state& state() { return state_; }
    [[nodiscard]] window_settings& settings() { return settings_; }
    // What the program last saw of the month's own file on disk.
    [[nodiscard]] month_file_seen& file_seen() { return file_seen_; }
    [[nodiscard]] const kind_list& kinds() const { return kinds_; }
    [[nodiscard]] const corresp_list& corresp() const { return corresp_; }
    [[nodiscard]] const std::string& program_dir() const { return program_dir_; }
    [[nodiscard]] notifier& notify() { return notify_; }
    [[nodiscard]] modal_runner& runner() { return runner_; }

    [[nodiscard]] QTableView* draw_shuushi() const;
    [[nodiscard]] ledger_view* ledger_grid() const { return draw_shuushi_; }
    [[nodiscard]] ledger_model* model() const { return model_; }
    [[nodiscard]] ledger_editor& editor() { return *editor_; }
    [[nodiscard]] QLineEdit* zandaka_box() const { return zandaka_box_; }
    [[nodiscard]] list_form* list_window() const { return list_form_; }
    [[nodiscard]] hyou_form* hyou_window() const { return hyou_form_; }
    [[nodiscard]] file_name_form* file_name_window() const { return file_name_form_; }

    // Projects the whole table into the grid and sets the caption.
    void disp_data();
    // init_data on the month in hand, and the balance box emptied.
    void reset_month();
    // Shows the table's texts again after a command changed them in place,
    // keeping the current cell.
    void show_table_texts();

  public slots:
    // File menu (file commands).
    void file_createClick();
    void file_loadClick();
    void file_overwriteClick();
    void file_saveClick();
    void ExitClick();
    // Edit menu (row commands, kind list, font).
    void go_top_line();
    void go_bottom_line();
    void show_list_form();
    void font_menuClick();
    void insert_lineClick();
    void delete_lineClick();
    void copy_befor_line();
    void zandaka_calc_and_disp();
    void date_sort();
    void versions_menuClick();
    // Graph and search menus.
    void show_graph_window();
    void term_graph();
    void show_year_table();
    void search_bottom_price();
    void search_price_book();
    // Help menu.
    void manual_menuClick();
    void versionClick();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private slots:
    // Enter in the grid: the walk through a line (ledger_editor::enter).
    void draw_shuushiKeyPress();

  private:
    void FormCreate();
    void FormResize();
    // The close query: offers to save, gathers and writes the settings. False
    // keeps the window open (the month could not be saved).
    [[nodiscard]] bool FormCloseQuery();
    void build_menus();
    void build_tool_bar();
    // The editor's cursor follows the grid's before a command works on it.
    void take_cursor();
    // After a command changed lines: rows, cells, cursor and editor in step.
    void show_edit();
    // A row command of the editor, run at the grid's cursor and shown.
    void edit_lines(void (ledger_editor::*command)());

    std::string program_dir_;
    notifier& notify_;
    modal_runner& runner_;

    std::unique_ptr<shuushi_data> data_;
    month_state state_;
    month_file_seen file_seen_;
    window_settings settings_;
    kind_list kinds_;
    corresp_list corresp_;
    std::unique_ptr<ledger_editor> editor_;

    ledger_model* model_ = nullptr;
    ledger_view* draw_shuushi_ = nullptr;
    QPushButton* zandaka_button_ = nullptr;
    QLineEdit* zandaka_box_ = nullptr;
    QFontDialog* FontDialog_ = nullptr;
    bool shown_once_ = false;

    // Tool buttons in their order from the left, then the two at the right.
    QPushButton* file_load_button_ = nullptr;
    QPushButton* file_overwrite_button_ = nullptr;
    QPushButton* go_top_line_button_ = nullptr;
    QPushButton* go_bottom_line_button_ = nullptr;
    QPushButton* show_list_form_button_ = nullptr;
    QPushButton* show_graph_window_button_ = nullptr;
    QPushButton* term_graph_button_ = nullptr;
    QPushButton* date_sort_button_ = nullptr;
    QPushButton* search_bottom_price_button_ = nullptr;
    QPushButton* copy_befor_line_button_ = nullptr;
    QPushButton* inser_line_button_ = nullptr;
    QPushButton* del_line_button_ = nullptr;

    list_form* list_form_ = nullptr;
    hyou_form* hyou_form_ = nullptr;
    file_name_form* file_name_form_ = nullptr;
};

} // namespace kozenica
