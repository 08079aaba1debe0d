#pragma once
// The manual window "MANUAL": manual.txt from the program's directory,
// read-only, in a window of its own. Every use opens one more window, which is
// destroyed when the user closes it.

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>

class QPlainTextEdit;

namespace kozenica {

// The manual's text from its Shift-JIS bytes; CR, LF and CR LF all end a line.
[[nodiscard]] QString manual_text(const QByteArray& sjis_bytes);

// The whole file, or nothing when it cannot be opened and read.
[[nodiscard]] std::optional<QByteArray> read_manual_file(const std::string& path);

class manual_form : public QWidget {
    Q_OBJECT
  public:
    explicit manual_form(QWidget* owner);

    [[nodiscard]] QPlainTextEdit* disp_manual() const { return disp_manual_; }
    void set_manual(const QString& text);

  private:
    QPlainTextEdit* disp_manual_ = nullptr;
};

} // namespace kozenica
