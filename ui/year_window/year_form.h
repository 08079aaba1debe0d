#pragma once
// The year table's result window "年間集計結果": the table (with the keyboard
// focus), a line naming the months not counted, the chart, and the buttons
// "CSVで保存..." and "印刷...". Enter or a double-click on a kind's month
// opens the lines behind that figure; Ctrl+C copies rows for a spreadsheet.

#include "core/year_table.h"

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTableView;

namespace kozenica {

class notifier;
class modal_runner;
class year_chart;
class year_model;

class year_form : public QWidget {
    Q_OBJECT
  public:
    // Builds the table again, from the files and the month in hand as they stand.
    using table_source = std::function<year_table()>;

    // A separate window owned by the main window; its size is kept for the
    // run only. program_dir ends in its separator.
    year_form(QWidget* owner, std::string program_dir, notifier& notify, modal_runner& runner);

    // Shows the table the source builds, and keeps the source for refresh.
    void set_source(table_source source);
    // Builds the table again, keeping the current cell.
    void refresh();

    [[nodiscard]] const year_table& table() const { return table_; }
    [[nodiscard]] QTableView* year_disp() const { return year_disp_; }
    [[nodiscard]] year_chart* chart() const { return chart_; }
    [[nodiscard]] QLabel* notes() const { return notes_; }
    [[nodiscard]] QPushButton* save_button() const { return save_button_; }
    [[nodiscard]] QPushButton* print_button() const { return print_button_; }

    // The selected rows (every row when none is selected) with the heading line.
    [[nodiscard]] QString selection_as_tsv() const;
    void copy_selection() const;
    // The file dialog in the program's folder, then the safe replace.
    void save_csv();
    // The print dialog, then one page.
    void print_table();
    // The lines behind a kind's month cell in a small window of their own.
    void show_lines(int row, int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Coming back to the window builds the table again: the month in hand
    // may have been saved under another month, or a file changed meanwhile.
    void changeEvent(QEvent* event) override;

  private:
    void show_table();

    std::string program_dir_;
    notifier& notify_;
    modal_runner& runner_;
    table_source source_;
    year_table table_;

    year_model* model_ = nullptr;
    QTableView* year_disp_ = nullptr;
    QLabel* notes_ = nullptr;
    year_chart* chart_ = nullptr;
    QPushButton* save_button_ = nullptr;
    QPushButton* print_button_ = nullptr;
};

} // namespace kozenica
