#include "message_box.h"

#include "sjis.h"

#include <QGridLayout>
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

// What a window manager's title bar takes beside the caption: an icon, three
// buttons and the margins between them.
constexpr int title_bar_room = 140;

// A box only as wide as its text and buttons has its caption cut by the
// window manager ("Ko… a"): the box is made as wide as its caption in a
// bold face of the box's own size, beside the title bar's buttons.
void give_room_for_caption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont caption_font = box.font();
    caption_font.setBold(true);
    const int width = QFontMetrics(caption_font).horizontalAdvance(box.windowTitle()) + title_bar_room;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// An empty box of the kind with its caption, room for it, and the text.
void set_up(QMessageBox& box, message_kind kind, const QString& text) {
    box.setIcon(icon_of(kind));
    box.setWindowTitle(caption_of(kind));
    box.setText(text);
    give_room_for_caption(box);
}

} // namespace

void message_boxes::show_ok_box(message_kind kind, const QString& text) {
    QMessageBox box(parent_);
    set_up(box, kind, text);
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
    QMessageBox box(parent);
    set_up(box, kind, to_qstring(text));
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

// Escape and the close box answer Cancel, as does Enter.
yes_no_cancel message_boxes::ask_yes_no_cancel(message_kind kind, std::string_view text) {
    QMessageBox box(parent_);
    set_up(box, kind, to_qstring(text));
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return yes_no_cancel::yes;
    return box.clickedButton() == no ? yes_no_cancel::no : yes_no_cancel::cancel;
}

bool message_boxes::tell_path_or_stop(message_kind kind, const path_message& text) {
    QMessageBox box(parent_);
    set_up(box, kind, to_qstring(text));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* stop = box.addButton(QStringLiteral("中止"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == stop;
}

} // namespace kozenica
