// "Alarm Detail": the reminder of one appointment (minutes before its start) or one task (an
// absolute date and time), its signal options and sound file. OK writes into the item; the
// calling editor saves it.
#pragma once

#include <QDialog>

#include "editors/alarm_rules.h"
#include "model/pim_records.h"

class AppSettings;
class MessageService;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

class CAlarmDetailDlg : public QDialog {
    Q_OBJECT
public:
    // Appointment mode; a null item closes on OK without writing.
    CAlarmDetailDlg(AppointItem appointment, const AppSettings& settings, MessageService& messages,
                    QWidget* parent = nullptr);
    // Task mode.
    CAlarmDetailDlg(TaskItem task, const AppSettings& settings, MessageService& messages,
                    QWidget* parent = nullptr);

    // Checks the fields and writes them into the item; a refused field keeps the dialog open.
    void accept() override;

    AlarmFields Fields() const;

private:
    CAlarmDetailDlg(const AppSettings& settings, MessageService& messages, bool taskMode,
                    QWidget* parent);
    void LoadOptions(const pim::PimItem& item);

    MessageService& messages_;
    AppointItem appointment_;
    TaskItem task_;
    bool taskMode_;
    QComboBox* number_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDateEdit* date_ = nullptr;
    QComboBox* time_ = nullptr;
    QCheckBox* options_[5] = {};
    QLineEdit* soundFile_ = nullptr;
};
