// CRecurDetailDlg: edits the recurrence pattern of an appointment or a task: period, the time
// and span of one occurrence, interval and the day rules of the six types. It works on the
// caller's copy of the pattern and writes it only when OK is accepted, so a cancelled or
// refused edit never leaves half-written values behind.
#pragma once

#include <QDialog>
#include <array>

#include "editors/recur_rules.h"

class AppSettings;
class MessageService;
class QAbstractButton;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;

class CRecurDetailDlg : public QDialog {
public:
    struct Options {
        bool isNew = false;  // the item is being added and its pattern has no values yet
        bool allDay = false; // all-day appointments and every task: no time of day
        bool appointment = true;
        int spanMinutes = -1; // a task's start-to-due span x 1440; -1 from the appointment editor
    };

    CRecurDetailDlg(pim::RecurrenceFields& pattern, const Options& options,
                    const AppSettings& settings, MessageService& messages,
                    QWidget* parent = nullptr);

    // The Duration written at OK.
    int SpanMinutes() const { return spanMinutes_; }

    // The form as it stands (for tests and the caller's checks).
    RecurForm Form() const;

    // Checks the form and the start; writes the pattern and closes only when both pass.
    void accept() override;

private:
    void Build(const AppSettings& settings);
    void LoadPattern();
    void LoadDefaults();
    void ApplyLayout();
    void OnEndChoice();
    void RememberDuration();
    void KeepDuration();
    bool CheckStart(pim::RecurrenceFields& pattern);

    pim::RecurrenceFields& pattern_;
    Options options_;
    MessageService& messages_;
    int spanMinutes_ = 0;
    double rememberedDuration_ = 0.0;
    QString lastInterval_;

    QDateEdit* startDate_;
    QRadioButton* noEnd_;
    QRadioButton* endOn_;
    QDateEdit* endDate_;
    QComboBox* startTime_;
    QComboBox* endTime_;
    QLineEdit* daysAfter_;
    QLineEdit* interval_;
    QComboBox* type_;
    QComboBox* month_;
    QRadioButton* dayRadio_;
    QComboBox* day_;
    QRadioButton* weekRadio_;
    QComboBox* instance_;
    std::array<QAbstractButton*, 7> weekdays_{};
};
