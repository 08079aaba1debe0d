#include "message_box.h"

#include "sjis.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstring>

namespace kozenica {

QString caption_of(message_kind kind) {
    switch (kind) {
    case message_kind::warning:
        return QStringLiteral("警告");
    case message_kind::error:
        return QStringLiteral("ｴﾗｰ");
    case message_kind::information:
        return QStringLiteral("情報");
    case message_kind::confirmation:
        return QStringLiteral("確認");
    case message_kind::plain:
        break;
    }
    return QStringLiteral("Kozenica");
}

QString general_io_error_text(int error_code) {
    return QStringLiteral("入出力エラーが発生しました (エラーコード %1)\n%2")
        .arg(error_code)
        .arg(QString::fromLocal8Bit(std::strerror(error_code)));
}

void tell_io_error(notifier& notify, const std::system_error& failure) {
    notify.tell(message_kind::error, to_sjis(general_io_error_text(failure.code().value())));
}

namespace {

QMessageBox::Icon icon_of(message_kind kind) {
    switch (kind) {
    case message_kind::warning:
        return QMessageBox::Warning;
    case message_kind::error:
        return QMessageBox::Critical;
    case message_kind::information:
        return QMessageBox::Information;
    case message_kind::confirmation:
        return QMessageBox::Question;
    case message_kind::plain:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void message_boxes::show_ok_box(message_kind kind, const QString& text) {
    QMessageBox box(icon_of(kind), caption_of(kind), text, QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void message_boxes::tell(message_kind kind, std::string_view text) {
    show_ok_box(kind, to_qstring(text));
}

void message_boxes::tell_path(message_kind kind, const path_message& text) {
    show_ok_box(kind, to_qstring(text));
}

namespace {

// Yes and No; Escape and the close box answer No.
bool ask(QWidget* parent, message_kind kind, std::string_view text, bool yes_is_default) {
    QMessageBox box(icon_of(kind), caption_of(kind), to_qstring(text), QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes_is_default ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

bool message_boxes::ask_yes_no(message_kind kind, std::string_view text) {
    return ask(parent_, kind, text, true);
}

bool message_boxes::ask_yes_no_default_no(message_kind kind, std::string_view text) {
    return ask(parent_, kind, text, false);
}

bool message_boxes::tell_path_or_stop(message_kind kind, const path_message& text) {
    QMessageBox box(icon_of(kind), caption_of(kind), to_qstring(text), QMessageBox::NoButton, parent_);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* stop = box.addButton(QStringLiteral("中止"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == stop;
}

} // namespace kozenica
