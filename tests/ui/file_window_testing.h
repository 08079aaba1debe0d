#pragma once
// A main window over a temporary program directory with a scripted notifier and modal runner.

#include "support/temp_program_dir.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace kozenica::testing {

using namespace Qt::StringLiterals;

// Puts a window's outer frame exactly at the rectangle, whatever frame the platform draws.
inline void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect in = w.geometry(), frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(in.left() - frame.left(), in.top() - frame.top(), in.right() - frame.right(),
                                 in.bottom() - frame.bottom()));
}

struct choice {
    const char* year;
    int month, format_item; // 1 to 12; 0 KZN, 1 CSV
};

class program_window_test : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    void start() {
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }
    // The next year/month dialog is noted in seen as "caption year/month format x,y",
    // filled in with the choice if any, then closed with OK or Cancel.
    void answer(std::optional<choice> c, bool ok = true) {
        runner.push([this, c, ok](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            seen << u"%1 %2/%3 %4 %5,%6"_s
                        .arg(f.windowTitle(), f.year()->text(), f.month()->currentText(),
                             f.format_item() ? u"CSV"_s : u"KZN"_s)
                        .arg(f.x())
                        .arg(f.y());
            if (c) {
                f.year()->setText(QString::fromUtf8(c->year));
                f.month()->setCurrentIndex(c->month - 1);
                f.select_format_item(c->format_item);
            }
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }
    // A directory where the file should be, so that writing it fails.
    bool block(const char* name) const {
        return QDir(QString::fromStdString(dir.path())).mkdir(QLatin1String(name));
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    QStringList seen;
};

} // namespace kozenica::testing
