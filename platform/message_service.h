// The one way the program asks the user something in a message box. The window uses a Qt
// implementation; tests script the answers so no test ever blocks on a modal box.
#pragma once

#include <deque>
#include <string>
#include <vector>

// Button sets and icons, combined with |, and the answers, as the handheld's message box has.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                           unsigned flags) = 0;
    // The same box with its buttons named after what they do, in the set's order (OK, Cancel;
    // Yes, No, Cancel); the answers stay the set's.
    virtual int MessageBoxNamed(const std::wstring& text, const std::wstring& caption,
                                unsigned flags, const std::vector<std::wstring>& buttons)
    {
        (void)buttons;
        return MessageBox(text, caption, flags);
    }
};

// Answers from a queue (IDOK, or IDYES for Yes/No boxes, once the queue is empty) and records
// every box it was asked to show.
class ScriptedMessageService : public MessageService {
public:
    struct Shown {
        std::wstring text;
        std::wstring caption;
        unsigned flags;
        std::vector<std::wstring> buttons; // the names given, if any
    };

    void QueueAnswer(int answer) { answers_.push_back(answer); }
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
    int MessageBoxNamed(const std::wstring& text, const std::wstring& caption, unsigned flags,
                        const std::vector<std::wstring>& buttons) override;
    const std::vector<Shown>& shown() const { return shown_; }

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
};
