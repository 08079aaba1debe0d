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
};

} // namespace kozenica
