// CAppointDetailDlg: adds an appointment, edits one or one occurrence of a series as an
// exception, cancels such an exception, or deletes the appointment. It edits the item's values
// and hands them to the change path on OK; a refused OK or a store failure keeps it open with
// every field as typed. A meeting shows who is invited, and a time edit of someone else's
// meeting asks first.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "editors/appoint_rules.h"
#include "editors/calendar_field.h"
#include "editors/editor_services.h"

class QComboBox;
class QDateEdit;
class QPushButton;
class QVBoxLayout;

class CAppointDetailDlg : public QDialog {
public:
    struct Setup {
        bool isNew = false;
        bool exceptionMode = false; // "Excep" was chosen: one occurrence is edited
        bool newException = false;  // that occurrence has no exception yet
        int exceptionNo = -1;
    };
    // What the buttons do to the store; the editing flow supplies them over ScheduleEdits.
    struct Commits {
        std::function<EditStatus(const ItemValues&)> save;
        std::function<EditStatus()> remove;
        std::function<EditStatus()> cancelException;
        // Saves the form with the user's answer to the meeting, which every changed occurrence
        // that invites the user takes too.
        std::function<EditStatus(const ItemValues&, const std::string& partstat)> answer;
    };

    CAppointDetailDlg(ItemValues values, const Setup& setup, Commits commits,
                      EditorServices& services);

    AppointForm Form() const;

    // Checks the form and saves through the change path; stays open on a refusal or a store
    // that refused the save.
    void accept() override;
    const ItemValues& Values() const { return values_; }

private:
    void Build();
    void AddMeetingPanel(QVBoxLayout& layout);
    // Accept, Tentative or Decline: the user's answer saved with the rest of the form.
    void Answer(const std::string& partstat);
    void Load();
    void ApplyRules();
    void OnAllDayChanged();
    void RememberDuration();
    void KeepDuration();
    void ShowEndAt(DATE end);
    void OnRecurDetail();
    void OnAlarmDetail();
    void OnDelete();
    bool OneTimeAllDay() const;

    ItemValues values_;
    Setup setup_;
    Commits commits_;
    std::optional<std::string> answer_; // the answer pressed, while its save runs
    EditorServices& services_;
    bool recurrenceSet_ = false;
    std::wstring lastStartTime_;
    std::wstring lastEndTime_;
    double rememberedDuration_ = -1.0;

    QComboBox* title_;
    QComboBox* place_;
    QDateEdit* startDate_;
    QComboBox* startTime_;
    QDateEdit* endDate_;
    QComboBox* endTime_;
    QComboBox* allDay_;
    QComboBox* recur_;
    QPushButton* recurDetail_;
    QComboBox* alarm_;
    QPushButton* alarmDetail_;
    QComboBox* category_;
    QPushButton* chooseCategory_;
    QComboBox* status_;
    QComboBox* sensitive_;
    QPushButton* memo_;
    QPushButton* delete_;
    std::unique_ptr<CalendarField> calendar_;
};
