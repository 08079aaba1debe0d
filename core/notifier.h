#pragma once
// How the core tells the user about expected conditions. The program answers
// with message boxes; tests answer with a script and keep a record.

#include <string_view>

namespace kozenica {

enum class message_kind { warning, error, information, confirmation, plain };

class notifier {
  public:
    virtual ~notifier() = default;
    // Shows a text (Shift-JIS bytes) with a single OK button.
    virtual void tell(message_kind kind, std::string_view text) = 0;
    // Asks a question with the buttons Yes and No; true when Yes was pressed.
    [[nodiscard]] virtual bool ask_yes_no(message_kind kind, std::string_view text) = 0;
    // Asks with Yes and No where No is the default button, for questions whose
    // Yes replaces or drops something on disk: a user who presses Enter twice
    // out of habit keeps the file. True when Yes was pressed.
    [[nodiscard]] virtual bool ask_yes_no_default_no(message_kind kind, std::string_view text) {
        return ask_yes_no(kind, text);
    }
    // Shows a text with OK and a second button "中止" that stops the whole
    // command the box belongs to. True when the user chose to stop.
    [[nodiscard]] virtual bool tell_or_stop(message_kind kind, std::string_view text) {
        tell(kind, text);
        return false;
    }
};

} // namespace kozenica
