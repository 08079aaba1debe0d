#include "modal_runner.h"

namespace kozenica {

modal_runner& default_modal_runner() {
    static modal_runner runner;
    return runner;
}

int scripted_modal_runner::run(QDialog& dialog) {
    ++runs_;
    if (scripts_.empty()) {
        ++unscripted_;
        return QDialog::Rejected;
    }
    script next = std::move(scripts_.front());
    scripts_.erase(scripts_.begin());
    return next(dialog);
}

} // namespace kozenica
