#pragma once
// A notifier for tests: records every message and answers questions from a
// queue (No when the queue is empty), and boxes that may stop their command
// or that offer Cancel from queues of their own (OK or Cancel when empty), so
// no test ever blocks on a box.

#include "core/notifier.h"
#include "sjis.h"

#include <QString>
#include <deque>
#include <vector>

namespace kozenica {

enum class box_buttons { ok, yes_no, yes_no_default_no, ok_stop, yes_no_cancel };

struct recorded_message {
    message_kind kind;
    QString text;
    bool question;
    box_buttons buttons = box_buttons::ok;
};

class scripted_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        messages.push_back({kind, to_qstring(text), false});
    }
    void tell_path(message_kind kind, const path_message& text) override {
        messages.push_back({kind, to_qstring(text), false});
    }
    [[nodiscard]] bool ask_yes_no(message_kind kind, std::string_view text) override {
        messages.push_back({kind, to_qstring(text), true, box_buttons::yes_no});
        return next(answers, false);
    }
    [[nodiscard]] bool ask_yes_no_default_no(message_kind kind, std::string_view text) override {
        messages.push_back({kind, to_qstring(text), true, box_buttons::yes_no_default_no});
        return next(answers, false);
    }
    [[nodiscard]] yes_no_cancel ask_yes_no_cancel(message_kind kind, std::string_view text) override {
        messages.push_back({kind, to_qstring(text), true, box_buttons::yes_no_cancel});
        if (choices.empty()) return yes_no_cancel::cancel;
        const yes_no_cancel a = choices.front();
        choices.pop_front();
        return a;
    }
    [[nodiscard]] bool tell_path_or_stop(message_kind kind, const path_message& text) override {
        messages.push_back({kind, to_qstring(text), false, box_buttons::ok_stop});
        return next(stops, false);
    }
    [[nodiscard]] QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    std::vector<recorded_message> messages;
    std::deque<bool> answers;
    std::deque<bool> stops;            // true: the stop button of the next such box
    std::deque<yes_no_cancel> choices; // Cancel when empty

  private:
    static bool next(std::deque<bool>& queue, bool otherwise) {
        if (queue.empty()) return otherwise;
        const bool a = queue.front();
        queue.pop_front();
        return a;
    }
};

} // namespace kozenica
