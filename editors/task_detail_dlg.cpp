// The task editor: loading a task's values, the date-box, alarm and recurrence rules, the
// buttons that open the other editors, and OK over the change path.
#include "editors/task_detail_dlg.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "editors/alarm_detail_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/editor_controls.h"
#include "editors/recur_detail_dlg.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

namespace {

// Task dates reach the year 3999 so that a date past 2999 can be shown and refused.
QDateEdit* TaskDatePicker(int id)
{
    QDateEdit* picker = NewDatePicker(id, nullptr);
    picker->setDateRange(QDate(1900, 1, 1), QDate(3999, 12, 31));
    return picker;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    bool first = true;
    for (QWidget* widget : widgets) {
        row->addWidget(widget, first ? 1 : 0);
        first = false;
    }
    return row;
}

SYSTEMTIME Today()
{
    return TruncateSystemTime(GetLocalTime(), 3);
}

} // namespace

CTaskDetailDlg::CTaskDetailDlg(ItemValues values, bool isNew, Commits commits,
                               EditorServices& services)
    : QDialog(services.parent), values_(std::move(values)), isNew_(isNew),
      commits_(std::move(commits)), services_(services)
{
    setWindowTitle(tr("Task Detail"));
    services_.settings.SetLastEditResult(LastEditResult::kEditorOpened);
    Build();
    Load();
}

void CTaskDetailDlg::Build()
{
    const AppSettings& settings = services_.settings;
    title_ = NewEditCombo(kTaskTitle, settings, SettingsList::TaskSubjectInfo, nullptr);
    importance_ = NewChoiceCombo(kTaskImportance, kImportanceLabels);
    hasStart_ = Named(new QCheckBox(tr("Start Date")), kTaskHasStart);
    start_ = TaskDatePicker(kTaskStart);
    hasDue_ = Named(new QCheckBox(tr("Due Date")), kTaskHasDue);
    due_ = TaskDatePicker(kTaskDue);
    complete_ = NewChoiceCombo(kTaskComplete, kCompleteLabels);
    completed_ = Named(new QDateEdit, kTaskCompleteDate);
    completed_->setReadOnly(true);
    completed_->setButtonSymbols(QDateEdit::NoButtons);
    completed_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    // A task not completed shows an empty date: the minimum stands for "none".
    completed_->setMinimumDate(QDate(1899, 12, 30));
    completed_->setSpecialValueText(QStringLiteral(" "));
    recur_ = NewChoiceCombo(kTaskRecur, kRecurrenceChoiceLabels);
    recurDetail_ = NewPushButton(kTaskRecurDetail, tr("Recur Detail"));
    alarm_ = NewChoiceCombo(kTaskAlarm, kReminderSetLabels);
    alarmDetail_ = NewPushButton(kTaskAlarmDetail, tr("AlarmDetail"));
    category_ = NewEditCombo(kTaskCategory, settings, SettingsList::CategoryInfo, nullptr);
    chooseCategory_ = NewEllipsisButton(kTaskCategoryChoose, nullptr);
    sensitive_ = NewChoiceCombo(kTaskSensitive, kSensitivityLabels);
    memo_ = NewPushButton(kTaskMemo, tr("Memo"));
    delete_ = NewPushButton(kTaskDelete, tr("Del"));
    calendar_ = std::make_unique<CalendarField>(services_, pim::kTaskKind, values_, false);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tr("Title"), title_);
    form->addRow(tr("Importance"), importance_);
    form->addRow(hasStart_, start_);
    form->addRow(hasDue_, due_);
    form->addRow(tr("Complete"), complete_);
    form->addRow(tr("Comp.Date"), completed_);
    form->addRow(tr("Recur"), Row({recur_, recurDetail_}));
    form->addRow(tr("Alarm"), Row({alarm_, alarmDetail_}));
    form->addRow(tr("Category"), Row({category_, chooseCategory_}));
    form->addRow(tr("Sensitive"), sensitive_);
    form->addRow(tr("Calendar"), calendar_->Combo());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(memo_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    layout->addLayout(buttons);
    QDialogButtonBox* okCancel = NewOkCancel(this);
    layout->addWidget(okCancel);
    QPushButton* ok = okCancel->button(QDialogButtonBox::Ok);
    ChainTabOrder({title_, importance_, hasStart_, start_, hasDue_, due_, complete_, recur_,
                   recurDetail_, alarm_, alarmDetail_, category_, chooseCategory_, sensitive_,
                   calendar_->Combo(), memo_, delete_, ok});

    connect(hasStart_, &QCheckBox::toggled, this, [this] { OnDateBox(hasStart_, start_); });
    connect(hasDue_, &QCheckBox::toggled, this, [this] { OnDateBox(hasDue_, due_); });
    connect(recur_, &QComboBox::currentIndexChanged, this, &CTaskDetailDlg::ApplyRecurrenceRule);
    connect(alarm_, &QComboBox::currentIndexChanged, this,
            [this](int on) { alarmDetail_->setEnabled(on == 1); });
    connect(recurDetail_, &QPushButton::clicked, this, &CTaskDetailDlg::OnRecurDetail);
    connect(alarmDetail_, &QPushButton::clicked, this, &CTaskDetailDlg::OnAlarmDetail);
    connect(chooseCategory_, &QPushButton::clicked, this,
            [this] { ChooseCategories(*category_, services_, this); });
    connect(memo_, &QPushButton::clicked, this,
            [this] { EditMemo(values_.fields.Body, services_, this); });
    connect(delete_, &QPushButton::clicked, this, &CTaskDetailDlg::OnDelete);
    if (settings.GetStdtChg() == 1) {
        WatchFocus(*start_, [this](bool in) {
            if (in) {
                rememberedDays_ =
                    DaysBetween(ToSystemTime(start_->date()), ToSystemTime(due_->date()));
            }
        });
        connect(start_, &QDateEdit::dateChanged, this, &CTaskDetailDlg::KeepDuration);
    }
    resize(400, sizeHint().height());
}

void CTaskDetailDlg::Load()
{
    const pim::ItemFields& f = values_.fields;
    const QSignalBlocker blockRecur(recur_);
    const QSignalBlocker blockStart(start_);
    ShowStoredText(title_, f.Subject);
    importance_->setCurrentIndex(std::clamp(f.Importance, 0, 2));
    start_->setDate(ToQDate(SystemTimeToVariantTime(PickerDay(f.StartDate, Today()))));
    due_->setDate(ToQDate(SystemTimeToVariantTime(PickerDay(f.DueDate, Today()))));
    hasStart_->setChecked(IsCheckedTaskDate(f.StartDate));
    hasDue_->setChecked(IsCheckedTaskDate(f.DueDate));
    if (!isNew_) {
        complete_->setCurrentIndex(f.Complete ? 1 : 0);
        recur_->setCurrentIndex(values_.pattern ? 1 : 0);
        alarm_->setCurrentIndex(f.ReminderSet ? 1 : 0);
        ShowStoredText(category_, f.Categories);
        sensitive_->setCurrentIndex(std::clamp(f.Sensitivity, 0, 3));
    }
    const SYSTEMTIME done = VariantTimeToSystemTime(f.DateCompleted);
    completed_->setDate(IsCheckedTaskDate(f.DateCompleted)
                            ? QDate(done.wYear, done.wMonth, done.wDay)
                            : completed_->minimumDate());
    alarmDetail_->setEnabled(alarm_->currentIndex() == 1);
    delete_->setEnabled(!isNew_);
    ApplyRecurrenceRule();
    calendar_->LockIfReadOnly(*this, memo_);
}

void CTaskDetailDlg::OnDateBox(QCheckBox* box, QDateEdit* picker)
{
    picker->setEnabled(box->isChecked() && box->isEnabled());
    const int year = picker->date().year();
    if (box->isChecked() && (year < 1900 || year > 3999)) {
        picker->setDate(ToQDate(SystemTimeToVariantTime(Today())));
    }
}

// A recurring task takes its dates from the recurrence editor, so the date boxes step aside.
void CTaskDetailDlg::ApplyRecurrenceRule()
{
    const bool recurring = recur_->currentIndex() == 1;
    recurDetail_->setEnabled(recurring);
    complete_->setEnabled(!recurring);
    for (QCheckBox* box : {hasStart_, hasDue_}) {
        if (recurring) {
            box->setChecked(false);
        }
        box->setEnabled(!recurring);
    }
    start_->setEnabled(!recurring && hasStart_->isChecked());
    due_->setEnabled(!recurring && hasDue_->isChecked());
}

void CTaskDetailDlg::KeepDuration()
{
    if (hasStart_->isChecked() && hasDue_->isChecked()) {
        due_->setDate(ToQDate(
            SystemTimeToVariantTime(AddDays(ToSystemTime(start_->date()), rememberedDays_))));
    }
}

void CTaskDetailDlg::OnRecurDetail()
{
    const SYSTEMTIME start = ToSystemTime(start_->date());
    pim::RecurrenceFields pattern =
        values_.pattern ? *values_.pattern
                        : pim::RecurrencePattern::WeeklyFrom(SystemTimeToVariantTime(start), 0);
    CRecurDetailDlg::Options options;
    options.isNew = isNew_ && !values_.pattern;
    options.allDay = true;
    options.appointment = false;
    options.spanMinutes = TaskSpanDays(start, ToSystemTime(due_->date())) * 1440;
    CRecurDetailDlg dialog(pattern, options, services_.settings, services_.messages, this);
    if (services_.dialogs.Run(dialog) != DialogAccepted) {
        return;
    }
    values_.pattern = pattern;
    const SYSTEMTIME first = VariantTimeToSystemTime(pattern.PatternStartDate);
    const QSignalBlocker block(start_);
    start_->setDate(ToQDate(SystemTimeToVariantTime(first)));
    due_->setDate(ToQDate(SystemTimeToVariantTime(AddDays(first, dialog.SpanMinutes() / 1440))));
}

// The alarm editor starts from the due date on screen, not the stored one: a task without a
// due date there opens it on today at the current time.
void CTaskDetailDlg::OnAlarmDetail()
{
    pim::ItemFields shown = values_.fields;
    const bool hasDue = hasDue_->isChecked() || recur_->currentIndex() == 1;
    shown.DueDate = hasDue ? SystemTimeToVariantTime(ToSystemTime(due_->date())) : pim::kNoDate;
    CAlarmDetailDlg dialog(shown, true, services_.settings, services_.messages, this);
    if (services_.dialogs.Run(dialog) != DialogAccepted) {
        return;
    }
    pim::ItemFields& f = values_.fields;
    f.ReminderTime = shown.ReminderTime;
    f.ReminderOptions = shown.ReminderOptions;
    f.ReminderSoundFile = shown.ReminderSoundFile;
}

void CTaskDetailDlg::OnDelete()
{
    if (ConfirmOk(services_.messages, res::IDS_DELETE_TASK)) {
        FinishEdit(*this, services_, commits_.remove(), LastEditResult::kDeleted);
    }
}

TaskForm CTaskDetailDlg::Form() const
{
    TaskForm form;
    form.title = ComboText(*title_);
    form.importance = importance_->currentIndex();
    form.hasStart = hasStart_->isChecked();
    form.start = ToSystemTime(start_->date());
    form.hasDue = hasDue_->isChecked();
    form.due = ToSystemTime(due_->date());
    form.complete = complete_->currentIndex() == 1;
    form.recurring = recur_->currentIndex() == 1;
    form.alarm = alarm_->currentIndex() == 1;
    form.category = ComboText(*category_);
    form.sensitivity = sensitive_->currentIndex();
    return form;
}

void CTaskDetailDlg::accept()
{
    ItemValues edited = values_;
    if (Verdict refused = CheckTaskForm(Form(), edited)) {
        // A due date refused while its box is clear can only be mended through the box.
        if (refused->controlId == kTaskDue && !due_->isEnabled()) {
            refused->controlId = kTaskHasDue;
        }
        ShowRefusal(*this, services_.messages, *refused);
        return;
    }
    FinishEdit(*this, services_, calendar_->Commit(edited, commits_.save), LastEditResult::kSaved);
}
