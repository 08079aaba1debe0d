#include "main_form.h"

#include "core/notifier.h"
#include "core/startup.h"
#include "core/texts.h"
#include "ledger_model.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/list_window/list_form.h"
#include "ui/platform/fonts.h"
#include "ui/platform/sjis.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kozenica {

class ledger_view : public QTableView {
  public:
    using QTableView::QTableView;
};

main_form::main_form(std::string program_dir, notifier& notify, modal_runner& runner, QWidget* parent)
    : QMainWindow(parent), program_dir_(std::move(program_dir)), notify_(notify), runner_(runner),
      data_(std::make_unique<shuushi_data>()) {
    setFont(window_font());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    model_ = new ledger_model(*data_, state_, this);
    draw_shuushi_ = new ledger_view(client);
    draw_shuushi_->setModel(model_);
    draw_shuushi_->verticalHeader()->hide();
    draw_shuushi_->verticalHeader()->setDefaultSectionSize(20);
    zandaka_button_ = new QPushButton(QStringLiteral("残高"), client);
    zandaka_box_ = new QLineEdit(client);
    zandaka_box_->setReadOnly(true);
    zandaka_box_->setAlignment(Qt::AlignRight);
    FormCreate();
    // The windows that live for the whole run, created hidden in this order.
    list_form_ = new list_form(this);
    hyou_form_ = new hyou_form(this);
    file_name_form_ = new file_name_form(this);
}

main_form::~main_form() = default;

QTableView* main_form::draw_shuushi() const { return draw_shuushi_; }

void main_form::FormCreate() {
    startup_files files = read_startup_files(program_dir_);
    settings_ = files.settings;
    kinds_ = std::move(files.kinds);
    corresp_ = std::move(files.corresp);
    if (files.kind_list_missing) notify_.tell(message_kind::error, texts::no_kind_list);

    move(settings_[setting::main_left], settings_[setting::main_top]);
    resize(settings_[setting::main_width], settings_[setting::main_height]);
    for (int c = 0; c < ledger_model::column_count; ++c)
        draw_shuushi_->setColumnWidth(c, settings_[setting::ledger_column0 + c]);

    reset_month();
    disp_data();
}

void main_form::reset_month() {
    init_data(*data_, state_);
    zandaka_box_->clear();
}

void main_form::disp_data() {
    setWindowTitle(state_.open_name.empty() ? QStringLiteral("Kozenica")
                                            : QStringLiteral("Kozenica [") + to_qstring(state_.open_name.view()) +
                                                  QStringLiteral("]"));
    model_->reload();
    draw_shuushi_->setCurrentIndex(model_->index(0, 1));
}

void main_form::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void main_form::FormResize() {
    QWidget* client = centralWidget();
    const int cw = client->width();
    const int ch = client->height();
    zandaka_button_->setGeometry(cw - 96 - 125 - 4, ch - 21, 96, 21);
    zandaka_box_->setGeometry(cw - 125, ch - 21, 125, 21);
    draw_shuushi_->setGeometry(0, 27, cw, ch - 50);
}

void main_form::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void main_form::build_menus() {}
void main_form::build_tool_bar() {}

} // namespace kozenica
