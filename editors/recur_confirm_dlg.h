// CRecurConfirmDlg: asked before an occurrence of a recurring appointment is changed, whether
// the change is for the whole series ("All"), this occurrence only ("Excep"), or whether every
// exception of the series is to be cleared. The answer is left in LastEditResult.
#pragma once

#include <QDialog>

class AppSettings;
class MessageService;

class CRecurConfirmDlg : public QDialog {
public:
    // kind: 1 ordinary occurrence, 2 or 3 existing exception, 4 deleted occurrence.
    CRecurConfirmDlg(int kind, AppSettings& settings, MessageService& messages,
                     QWidget* parent = nullptr);

    // The line describing the kind; empty for a kind the dialog does not know.
    static std::wstring KindText(int kind);

private:
    void Finish(int result);
    void OnClearAll();

    AppSettings& settings_;
    MessageService& messages_;
};
