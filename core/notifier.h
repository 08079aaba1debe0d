#pragma once
// How the core tells the user about expected conditions. The program answers
// with message boxes; tests answer with a script and keep a record.

#include <string>
#include <string_view>

namespace kozenica {

enum class message_kind { warning, error, information, confirmation, plain };

// The answer to a question with Yes, No and Cancel.
enum class yes_no_cancel { yes, no, cancel };

// A message that names a file. The program's own words are Shift-JIS bytes;
// the path is the file system's bytes, which are not Shift-JIS (a folder named
// 家計簿 is UTF-8 on this system). Each part keeps its own encoding until the
// message is shown.
struct path_message {
    std::string before; // Shift-JIS
    std::string path;   // the file system's bytes
    std::string after;  // Shift-JIS

    friend bool operator==(const path_message&, const path_message&) = default;
};

class notifier {
  public:
    virtual ~notifier() = default;
    // Shows a text (Shift-JIS bytes) with a single OK button.
    virtual void tell(message_kind kind, std::string_view text) = 0;
    // Shows a text that names a file with a single OK button. Notifiers that
    // show nothing (tests of the core, benchmarks) may take the bytes joined.
    virtual void tell_path(message_kind kind, const path_message& text) {
        tell(kind, text.before + text.path + text.after);
    }
    // Asks a question with the buttons Yes and No; true when Yes was pressed.
    [[nodiscard]] virtual bool ask_yes_no(message_kind kind, std::string_view text) = 0;
    // Asks with Yes and No where No is the default button, for questions whose
    // Yes replaces or drops something on disk: a user who presses Enter twice
    // out of habit keeps the file. True when Yes was pressed.
    [[nodiscard]] virtual bool ask_yes_no_default_no(message_kind kind, std::string_view text) {
        return ask_yes_no(kind, text);
    }
    // Asks with Yes, No and Cancel where Cancel is the default button, for a
    // question before a command that would drop the month in hand: Cancel
    // keeps everything and ends the command.
    [[nodiscard]] virtual yes_no_cancel ask_yes_no_cancel(message_kind kind, std::string_view text) {
        return ask_yes_no(kind, text) ? yes_no_cancel::yes : yes_no_cancel::no;
    }
    // Shows a text that names a file with OK and a second button "中止" that
    // stops the whole command the box belongs to. True when the user chose to
    // stop.
    [[nodiscard]] virtual bool tell_path_or_stop(message_kind kind, const path_message& text) {
        tell_path(kind, text);
        return false;
    }
};

} // namespace kozenica
