// CTaskDetailDlg ("Task Detail"): adds, edits or deletes a task. It edits the task's values and
// hands them to the change path on OK; a refused OK or a store failure keeps it open with every
// field as typed.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "editors/calendar_field.h"
#include "editors/editor_services.h"
#include "editors/task_rules.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;

class CTaskDetailDlg : public QDialog {
    Q_OBJECT
public:
    // What OK and Del do to the store; the editing flow supplies them over ScheduleEdits.
    struct Commits {
        std::function<EditStatus(const ItemValues&)> save;
        std::function<EditStatus()> remove;
    };

    CTaskDetailDlg(ItemValues values, bool isNew, Commits commits, EditorServices& services);

    // Checks the form and saves through the change path; a refusal or a store failure keeps the
    // dialog open with the fields as typed.
    void accept() override;

    TaskForm Form() const;
    const ItemValues& Values() const { return values_; }

private:
    void Build();
    void Load();
    static void OnDateBox(QCheckBox* box, QDateEdit* picker);
    void ApplyRecurrenceRule();
    void KeepDuration();
    void OnRecurDetail();
    void OnAlarmDetail();
    void OnDelete();

    ItemValues values_;
    bool isNew_;
    Commits commits_;
    EditorServices& services_;
    int rememberedDays_ = 0;

    QComboBox* title_;
    QComboBox* importance_;
    QCheckBox* hasStart_;
    QDateEdit* start_;
    QCheckBox* hasDue_;
    QDateEdit* due_;
    QComboBox* complete_;
    QDateEdit* completed_;
    QComboBox* recur_;
    QPushButton* recurDetail_;
    QComboBox* alarm_;
    QPushButton* alarmDetail_;
    QComboBox* category_;
    QPushButton* chooseCategory_;
    QComboBox* sensitive_;
    QPushButton* memo_;
    QPushButton* delete_;
    std::unique_ptr<CalendarField> calendar_;
};
