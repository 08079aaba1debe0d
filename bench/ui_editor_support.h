#pragma once
// A main window over a temporary program directory for the editor's
// benchmarks, with a notifier that answers nothing and shows nothing.

#include "bench_support.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"

#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

namespace kozenica::bench {

class bench_program_dir {
  public:
    bench_program_dir() : path_(dir_.path().toStdString() + "/") {
        std::ofstream(path_ + "kindlist.dat", std::ios::binary) << "1\r\nfood\r\n";
        std::ofstream(path_ + "corresp.dat", std::ios::binary) << "1\r\nmilk\r\n";
    }
    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    QTemporaryDir dir_;
    std::string path_;
};

} // namespace kozenica::bench
