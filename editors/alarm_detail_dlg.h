// CAlarmDetailDlg ("Alarm Detail"): the reminder of one appointment (minutes before its start)
// or one task (an absolute date and time), its signal options and sound file. OK writes them
// into the caller's values of the item, which the calling editor saves with the rest.
#pragma once

#include <QDialog>

#include "editors/alarm_rules.h"

class AppSettings;
class MessageService;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

class CAlarmDetailDlg : public QDialog {
    Q_OBJECT
public:
    // taskMode: the item is a task (ReminderTime), else an appointment (lead minutes).
    CAlarmDetailDlg(pim::ItemFields& fields, bool taskMode, const AppSettings& settings,
                    MessageService& messages, QWidget* parent = nullptr);

    // Checks the form and writes it into the fields; a refused field keeps the dialog open.
    void accept() override;

    AlarmForm Form() const;

private:
    void Build(const AppSettings& settings);
    void Load();

    pim::ItemFields& fields_;
    bool taskMode_;
    MessageService& messages_;
    QComboBox* number_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDateEdit* date_ = nullptr;
    QComboBox* time_ = nullptr;
    QCheckBox* options_[5] = {};
    QLineEdit* soundFile_ = nullptr;
};
