#pragma once
// The window "以前の版": the versions of the month in hand's file, newest
// first, beside the lines of the version selected, and a button that takes
// the selected version back as the month in hand. It writes nothing.

#include "core/month_versions.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace kozenica {

class versions_model;
class version_lines_model;

class versions_form : public QDialog {
    Q_OBJECT
  public:
    explicit versions_form(QWidget* owner);

    // The month's versions, the newest selected. With none, the window says
    // so in its one line and offers nothing to restore.
    void set_versions(std::vector<month_version> versions, const QString& none_text);

    // The version the user chose to restore, once the window was accepted;
    // null when nothing readable is selected.
    [[nodiscard]] const shuushi_data* chosen() const;

    [[nodiscard]] QLabel* message_line() const { return message_line_; }
    [[nodiscard]] QTableView* versions_list() const { return versions_list_; }
    [[nodiscard]] QTableView* lines_disp() const { return lines_disp_; }
    [[nodiscard]] QPushButton* restore_button() const { return restore_button_; }
    [[nodiscard]] versions_model* model() const { return model_; }

  private:
    void show_version(int row);
    [[nodiscard]] int selected_row() const;

    QLabel* message_line_ = nullptr;
    QTableView* versions_list_ = nullptr;
    QTableView* lines_disp_ = nullptr;
    QPushButton* restore_button_ = nullptr;
    versions_model* model_ = nullptr;
    version_lines_model* lines_ = nullptr;
};

} // namespace kozenica
