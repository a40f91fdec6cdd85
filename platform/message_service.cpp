// The scripted message service used by tests and by tools that run without a user.
#include "platform/message_service.h"

int ScriptedMessageService::MessageBox(const std::wstring& text, const std::wstring& caption,
                                       unsigned flags)
{
    shown_.push_back({text, caption, flags, {}});
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    const unsigned buttons = flags & 0xF;
    return (buttons == MB_YESNOCANCEL || buttons == MB_YESNO) ? IDYES : IDOK;
}

int ScriptedMessageService::MessageBoxNamed(const std::wstring& text, const std::wstring& caption,
                                            unsigned flags,
                                            const std::vector<std::wstring>& buttons)
{
    const int answer = MessageBox(text, caption, flags);
    shown_.back().buttons = buttons;
    return answer;
}
