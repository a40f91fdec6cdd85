// The message-box service on Qt's message box, owned by the running program.
#pragma once

#include "platform/message_service.h"

class QWidget;

class QtMessageService : public MessageService {
public:
    // Boxes are modal to the given window (none: to the application).
    void SetParent(QWidget* parent) { parent_ = parent; }
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   unsigned flags) override;

private:
    QWidget* parent_ = nullptr;
};
