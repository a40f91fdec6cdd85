// "Func Key": which dial-pad digit button (0..9, or none) runs each of five view functions. A
// button is stored as its key code, "0" 48 .. "9" 57, or 0 for none.
#pragma once

#include <QDialog>
#include <array>

#include "settings/app_settings.h"

class MessageService;
class QComboBox;

// List index of a stored key code: 1..10 for "0 Button".."9 Button", 0 "----" for anything else.
int FuncKeyIndexOfCode(int code);
// The key code an index stores: 47 + index for a button, 0 for "----".
int FuncKeyCodeOfIndex(int index);

class CFuncKeyDlg : public QDialog {
    Q_OBJECT
public:
    CFuncKeyDlg(AppSettings& settings, MessageService& messages, QWidget* parent = nullptr);

    void accept() override;

private:
    AppSettings& settings_;
    MessageService& messages_;
    std::array<QComboBox*, 5> lists_{};
};
