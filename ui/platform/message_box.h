#pragma once
// Message boxes of the five kinds with their captions and buttons:
// warning "警告", error "ｴﾗｰ", information "情報", confirmation "確認", and
// plain (the program's title, no icon); buttons "OK", "はい(&Y)", "いいえ(&N)",
// "ｷｬﾝｾﾙ", and "中止" beside OK where a box may stop its command. Every box is
// wide enough for the window manager to show its caption whole.

#include "core/notifier.h"

#include <QString>
#include <system_error>

class QWidget;

namespace kozenica {

QString caption_of(message_kind kind);
QString general_io_error_text(int error_code);
// Tells an unexpected I/O failure of a command as an error with its code.
void tell_io_error(notifier& notify, const std::system_error& failure);

// Shows real message boxes over a parent window.
class message_boxes : public notifier {
  public:
    explicit message_boxes(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    void tell(message_kind kind, std::string_view text) override;
    void tell_path(message_kind kind, const path_message& text) override;
    [[nodiscard]] bool ask_yes_no(message_kind kind, std::string_view text) override;
    [[nodiscard]] bool ask_yes_no_default_no(message_kind kind, std::string_view text) override;
    [[nodiscard]] yes_no_cancel ask_yes_no_cancel(message_kind kind, std::string_view text) override;
    [[nodiscard]] bool tell_path_or_stop(message_kind kind, const path_message& text) override;

  private:
    void show_ok_box(message_kind kind, const QString& text);

    QWidget* parent_;
};

} // namespace kozenica
