// "Day Sel": one date picked for the jump to a day. The caller gives the date and reads it back
// after OK; dates outside the years 1900 to 2999 are refused.
#pragma once

#include <QDialog>

#include "platform/systemtime.h"

class MessageService;
class QDateEdit;

class CDaySelDlg : public QDialog {
    Q_OBJECT
public:
    CDaySelDlg(const SYSTEMTIME& date, MessageService& messages, QWidget* parent = nullptr);

    // The given date, or the picked one after OK.
    const SYSTEMTIME& Date() const { return date_; }

    void accept() override;

private:
    SYSTEMTIME date_;
    MessageService& messages_;
    QDateEdit* picker_;
};
