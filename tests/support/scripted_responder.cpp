#include "support/scripted_responder.h"

int ScriptedResponder::Answer(UINT nIDPrompt, const char* text, const char* caption, UINT nType) {
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
