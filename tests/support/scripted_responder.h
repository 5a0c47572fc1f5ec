#pragma once
// Answers the utility's message boxes from a script and records every one
// asked, so that tests can check which messages came, in what order, with
// which buttons and icon.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/message_box.h"

struct AskedMessage {
    UINT id;          // string id (of the text or its format), 0 for a literal text
    std::string text; // what the user would read
    std::string caption;
    UINT type; // MB_ flags
};

class ScriptedResponder : public CMessageBoxResponder {
public:
    ScriptedResponder() { AfxSetMessageBoxResponder(this); }
    ~ScriptedResponder() override { AfxSetMessageBoxResponder(nullptr); }

    // Queues the answers for the next message boxes; without one queued, a
    // message box is answered with its first button (IDOK or IDYES) and
    // counted as unexpected.
    void Answer(int button) { m_answers.push_back(button); }

    int Answer(UINT nIDPrompt, const char* text, const char* caption, UINT nType) override {
        asked.push_back({nIDPrompt, text ? text : "", caption ? caption : "", nType});
        if (whileShown)
            whileShown(asked.back());
        if (m_answers.empty()) {
            ++m_unexpected;
            UINT buttons = nType & MB_TYPEMASK;
            return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
        }
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void Beep(UINT) override { ++m_beeps; }

    std::vector<AskedMessage> asked;
    // Runs while a message is shown, before it is answered.
    std::function<void(const AskedMessage&)> whileShown;
    int m_beeps = 0;
    int m_unexpected = 0;
    std::deque<int> m_answers;
};
