// CMemoEditDlg: edits one multi-line text, an item's memo or an edit list written one entry per
// line. Lines are separated by CR LF on both sides of the dialog.
#pragma once

#include <QDialog>
#include <string>

class MessageService;
class QPlainTextEdit;

class CMemoEditDlg : public QDialog {
public:
    CMemoEditDlg(std::wstring text, MessageService& messages, QWidget* parent = nullptr);

    // The text, as edited once the dialog ended with OK.
    const std::wstring& Text() const { return text_; }
    // The number of lines of the field at OK; 0 before.
    int LineCount() const { return lineCount_; }

    // Refuses a text that cannot be stored; otherwise keeps it and closes.
    void accept() override;

private:
    MessageService& messages_;
    QPlainTextEdit* edit_;
    std::wstring text_;
    int lineCount_ = 0;
};
