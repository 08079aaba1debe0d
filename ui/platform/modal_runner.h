#pragma once
// Runs the program's modal windows (the year/month dialog, the period dialog,
// the graph window). The program shows them for real; tests answer them with a
// script that fills the fields and returns a result without blocking.

#include <QDialog>
#include <functional>

namespace kozenica {

class modal_runner {
  public:
    virtual ~modal_runner() = default;
    // Returns QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog& dialog) { return dialog.exec(); }
};

modal_runner& default_modal_runner();

// For tests: each run calls the next script in turn, which may look at and fill
// the dialog, and returns its result. With no script left the dialog is
// rejected and counted.
class scripted_modal_runner : public modal_runner {
  public:
    using script = std::function<int(QDialog&)>;
    void push(script s) { scripts_.push_back(std::move(s)); }
    int run(QDialog& dialog) override;
    [[nodiscard]] int runs() const { return runs_; }
    [[nodiscard]] int unscripted_runs() const { return unscripted_; }

  private:
    std::vector<script> scripts_;
    int runs_ = 0;
    int unscripted_ = 0;
};

} // namespace kozenica
