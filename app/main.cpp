#include "ui/main/main_form.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/program_dir.h"
#include "ui/platform/session_bus.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    kozenica::pin_missing_session_bus();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kozenica"));
    kozenica::install_font_substitutions();
    QApplication::setFont(kozenica::window_font());

    kozenica::message_boxes boxes;
    kozenica::main_form form(kozenica::program_directory(), boxes, kozenica::default_modal_runner());
    boxes.set_parent(&form);
    form.show();
    return QApplication::exec();
}
