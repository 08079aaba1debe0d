#pragma once
// A notifier for tests: records every message and answers questions from a
// queue (No when the queue is empty), so no test ever blocks on a box.

#include "core/notifier.h"
#include "sjis.h"

#include <QString>
#include <deque>
#include <vector>

namespace kozenica {

struct recorded_message {
    message_kind kind;
    QString text;
    bool question;
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
        messages.push_back({kind, to_qstring(text), true});
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    [[nodiscard]] QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    std::vector<recorded_message> messages;
    std::deque<bool> answers;
};

} // namespace kozenica
