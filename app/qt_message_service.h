// The message-box service on Qt's message box, owned by the running program.
#pragma once

#include "platform/message_service.h"

class QMessageBox;
class QRect;
class QWidget;

// Widens a box so that its title bar shows the whole caption beside the window buttons: a short
// message would otherwise cut "Wrong Day" down to "W...g".
void FitCaption(QMessageBox& box);

// Keeps a box inside the screen's available area `available`: a text too long for it is cut to
// the head that fits, and the whole of it goes into the box's scrolling details.
void FitMessageToScreen(QMessageBox& box, const QRect& available);

class QtMessageService : public MessageService {
public:
    // Boxes are modal to the given window (none: to the application).
    void SetParent(QWidget* parent) { parent_ = parent; }
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
    int MessageBoxNamed(const std::wstring& text, const std::wstring& caption, unsigned flags,
                        const std::vector<std::wstring>& buttons) override;

private:
    QWidget* parent_ = nullptr;
};
