// The appointment editor's widgets: loading the values, the enabling rules of "All day" and
// "Recur", duration keeping, the recurrence, memo and delete buttons, and OK through the rules
// of appoint_rules and the change path.
#include "editors/appoint_detail_dlg.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <iterator>

#include "editors/alarm_detail_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/meeting_panel.h"
#include "editors/recur_detail_dlg.h"
#include "ical/meeting_reply.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "model/recurrence.h"
#include "platform/dialog_runner.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "settings/edit_lists.h"

namespace {

QComboBox* ListCombo(int id, const AppSettings& settings, EditList list)
{
    return NewEditCombo(id, settings, ListOf(list), nullptr);
}

const std::wstring kMidnight = L"00:00";
const std::wstring kDayEnd = L"24:00";

void StepDays(QDateEdit& picker, int days)
{
    picker.setDate(picker.date().addDays(days));
}

// Whether an edit moves the item in time, at the minute the editor shows.
bool MovesInTime(const ItemValues& before, const ItemValues& after)
{
    const auto minute = [](DATE t) { return std::llround(t * 1440.0); };
    return minute(before.fields.Start) != minute(after.fields.Start) ||
           minute(before.fields.End) != minute(after.fields.End) ||
           before.fields.AllDayEvent != after.fields.AllDayEvent || before.pattern != after.pattern;
}

} // namespace

CAppointDetailDlg::CAppointDetailDlg(ItemValues values, const Setup& setup, Commits commits,
                                     EditorServices& services)
    : QDialog(services.parent), values_(std::move(values)), setup_(setup),
      commits_(std::move(commits)), services_(services)
{
    services_.settings.SetLastEditResult(LastEditResult::kEditorOpened);
    setWindowTitle(tr("Appoint Detail"));
    setMinimumWidth(380);
    Build();
    Load();
}

void CAppointDetailDlg::Build()
{
    const AppSettings& settings = services_.settings;
    title_ = ListCombo(kAppointTitle, settings, EditList::AppointTitle);
    place_ = ListCombo(kAppointPlace, settings, EditList::AppointPlace);
    startDate_ = NewDatePicker(kAppointStartDate, nullptr);
    startTime_ = NewTimeCombo(kAppointStartTime, settings, nullptr);
    endDate_ = NewDatePicker(kAppointEndDate, nullptr);
    endTime_ = NewTimeCombo(kAppointEndTime, settings, nullptr);
    allDay_ = NewChoiceCombo(kAppointAllDay, kAllDayLabels);
    recur_ = NewChoiceCombo(kAppointRecur, kRecurrenceChoiceLabels);
    recurDetail_ = NewPushButton(kAppointRecurDetail, tr("Recur Detail"));
    alarm_ = NewChoiceCombo(kAppointAlarm, kReminderSetLabels);
    alarmDetail_ = NewPushButton(kAppointAlarmDetail, tr("Alarm Detail"));
    category_ = ListCombo(kAppointCategory, settings, EditList::Category);
    chooseCategory_ = NewEllipsisButton(kAppointCategoryChoose, nullptr);
    status_ = NewChoiceCombo(kAppointStatus, kBusyStatusLabels);
    sensitive_ = NewChoiceCombo(kAppointSensitive, kSensitivityLabels);
    memo_ = NewPushButton(kAppointMemo, tr("Memo"));
    delete_ = NewPushButton(kAppointDelete, tr("Del"));
    calendar_ = std::make_unique<CalendarField>(services_, pim::kAppointmentKind, values_,
                                                setup_.exceptionMode);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* first, QWidget* second = nullptr) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(first, row, 1, 1, second != nullptr ? 1 : 2);
        if (second != nullptr) {
            grid->addWidget(second, row, 2);
        }
        ++row;
    };
    addRow(tr("Title"), title_);
    addRow(tr("Place"), place_);
    addRow(tr("Start"), startDate_, startTime_);
    addRow(tr("End"), endDate_, endTime_);
    addRow(tr("All day"), allDay_);
    addRow(tr("Recur"), recur_, recurDetail_);
    addRow(tr("Alarm"), alarm_, alarmDetail_);
    auto* categoryRow = new QWidget;
    auto* categoryLayout = new QHBoxLayout(categoryRow);
    categoryLayout->setContentsMargins(0, 0, 0, 0);
    categoryLayout->addWidget(category_, 1);
    categoryLayout->addWidget(chooseCategory_);
    addRow(tr("Category"), categoryRow);
    addRow(tr("Status"), status_);
    addRow(tr("Sensitive"), sensitive_);
    addRow(tr("Calendar"), calendar_->Combo());
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddMeetingPanel(*layout);
    auto* buttonsRow = new QHBoxLayout;
    buttonsRow->addWidget(memo_);
    buttonsRow->addStretch();
    buttonsRow->addWidget(delete_);
    layout->addLayout(buttonsRow);
    layout->addStretch();
    QDialogButtonBox* buttons = NewOkCancel(this);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ChainTabOrder({title_, place_, startDate_, startTime_, endDate_, endTime_, allDay_, recur_,
                   recurDetail_, alarm_, alarmDetail_, category_, chooseCategory_, status_,
                   sensitive_, calendar_->Combo(), memo_, delete_, ok});

    // The remembered times follow every edit made while the times are the user's own, so
    // switching "Recur" or "All day" back and forth gives back what was typed.
    connect(startTime_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (allDay_->currentIndex() == 0) {
            lastStartTime_ = ToWString(text);
        }
    });
    connect(endTime_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (allDay_->currentIndex() == 0) {
            lastEndTime_ = ToWString(text);
        }
    });
    connect(allDay_, &QComboBox::currentIndexChanged, this, &CAppointDetailDlg::OnAllDayChanged);
    connect(recur_, &QComboBox::currentIndexChanged, this, &CAppointDetailDlg::ApplyRules);
    connect(alarm_, &QComboBox::currentIndexChanged, this,
            [this](int on) { alarmDetail_->setEnabled(on == 1 && !setup_.exceptionMode); });
    connect(recurDetail_, &QPushButton::clicked, this, &CAppointDetailDlg::OnRecurDetail);
    connect(memo_, &QPushButton::clicked, this,
            [this] { EditMemo(values_.fields.Body, services_, this); });
    connect(alarmDetail_, &QPushButton::clicked, this, &CAppointDetailDlg::OnAlarmDetail);
    connect(chooseCategory_, &QPushButton::clicked, this,
            [this] { ChooseCategories(*category_, services_, this); });
    connect(delete_, &QPushButton::clicked, this, &CAppointDetailDlg::OnDelete);
    if (services_.settings.GetStdtChg() == 1) {
        WatchFocus(*startDate_, [this](bool in) {
            if (in) {
                RememberDuration();
            }
        });
        WatchFocus(*startTime_, [this](bool in) { in ? RememberDuration() : KeepDuration(); });
        connect(startDate_, &QDateEdit::dateChanged, this, &CAppointDetailDlg::KeepDuration);
    }
}

void CAppointDetailDlg::AddMeetingPanel(QVBoxLayout& layout)
{
    const ical::Meeting meeting = ical::MeetingOf(values_.fields.Kept);
    if (!meeting.IsMeeting()) {
        return;
    }
    const bool invited = ical::OwnAttendee(meeting, OwnAddressesOf(services_)) != nullptr;
    layout.addWidget(new MeetingPanel(
        meeting, invited, [this](const std::string& partstat) { Answer(partstat); },
        services_.openLink));
}

void CAppointDetailDlg::Answer(const std::string& partstat)
{
    const std::optional<std::string> answered =
        ical::AnsweredKept(values_.fields.Kept, OwnAddressesOf(services_), partstat);
    if (!answered) {
        return;
    }
    const std::string asItWas = values_.fields.Kept;
    values_.fields.Kept = *answered;
    answer_ = partstat;
    accept();
    answer_.reset();
    // Refused or left open: the answer waits for the next press.
    if (result() != QDialog::Accepted) {
        values_.fields.Kept = asItWas;
    }
}

void CAppointDetailDlg::Load()
{
    const pim::ItemFields& f = values_.fields;
    const QSignalBlocker blockAllDay(allDay_);
    const QSignalBlocker blockRecur(recur_);
    const QSignalBlocker blockStart(startDate_);
    ShowStoredText(title_, f.Subject);
    ShowStoredText(place_, f.Location);
    ShowStoredText(category_, f.Categories);
    const bool recurring = values_.pattern.has_value() || setup_.exceptionMode;
    allDay_->setCurrentIndex(f.AllDayEvent ? 1 : 0);
    recur_->setCurrentIndex(recurring ? 1 : 0);
    alarm_->setCurrentIndex(f.ReminderSet ? 1 : 0);
    status_->setCurrentIndex(std::clamp(f.BusyStatus, 0, 3));
    sensitive_->setCurrentIndex(std::clamp(f.Sensitivity, 0, 3));
    startDate_->setDate(ToQDate(f.Start));
    SetTimeText(startTime_, ClockText(f.Start));
    ShowEndAt(f.End);
    lastStartTime_ = ComboText(*startTime_);
    lastEndTime_ = ComboText(*endTime_);
    alarmDetail_->setEnabled(f.ReminderSet);
    if (setup_.exceptionMode) {
        recurDetail_->setText(ToQString(res::LoadString(res::IDS_CANCEL_EXCEPTION_BUTTON)));
        for (QWidget* locked :
             {static_cast<QWidget*>(recur_), static_cast<QWidget*>(alarm_),
              static_cast<QWidget*>(alarmDetail_), static_cast<QWidget*>(sensitive_)}) {
            locked->setEnabled(false);
        }
    }
    recurrenceSet_ = recurring && !setup_.isNew;
    ApplyRules();
    calendar_->LockIfReadOnly(*this, memo_);
}

bool CAppointDetailDlg::OneTimeAllDay() const
{
    return allDay_->currentIndex() == 1 && recur_->currentIndex() == 0;
}

void CAppointDetailDlg::ShowEndAt(DATE end)
{
    const EndDisplay shown = ShowEnd(end, OneTimeAllDay());
    const QSignalBlocker block(endDate_);
    endDate_->setDate(QDate(shown.date.wYear, shown.date.wMonth, shown.date.wDay));
    SetTimeText(endTime_, shown.time);
}

void CAppointDetailDlg::ApplyRules()
{
    const bool recurring = recur_->currentIndex() == 1;
    recurDetail_->setEnabled(recurring && !setup_.newException);
    delete_->setEnabled(!setup_.isNew);
    if (allDay_->currentIndex() == 1) {
        startTime_->setEnabled(false);
        endTime_->setEnabled(false);
        SetTimeText(startTime_, kMidnight);
        if (recurring) {
            if (ComboText(*endTime_) == kDayEnd) {
                StepDays(*endDate_, 1);
            }
            SetTimeText(endTime_, kMidnight);
        } else {
            if (ComboText(*endTime_) == kMidnight) {
                StepDays(*endDate_, -1);
            }
            SetTimeText(endTime_, kDayEnd);
        }
    } else {
        startTime_->setEnabled(true);
        endTime_->setEnabled(true);
        SetTimeText(startTime_, lastStartTime_);
        if (ComboText(*endTime_) == kDayEnd && lastEndTime_ == kMidnight) {
            StepDays(*endDate_, 1);
        }
        SetTimeText(endTime_, lastEndTime_);
    }
    const bool fixedBySeries = recurring && !setup_.exceptionMode;
    startDate_->setEnabled(!fixedBySeries);
    endDate_->setEnabled(!fixedBySeries);
    if (fixedBySeries) {
        startTime_->setEnabled(false);
        endTime_->setEnabled(false);
    }
    if (services_.settings.GetStdtChg() == 1) {
        RememberDuration();
    }
}

void CAppointDetailDlg::OnAllDayChanged()
{
    if (allDay_->currentIndex() == 1) {
        lastStartTime_ = ComboText(*startTime_);
        lastEndTime_ = ComboText(*endTime_);
    }
    ApplyRules();
}

void CAppointDetailDlg::RememberDuration()
{
    const AppointForm form = Form();
    if (OneTimeAllDay() ||
        (TimeTextMinutes(form.startTime) && TimeTextMinutes(form.endTime, true))) {
        rememberedDuration_ = FormEnd(form) - FormStart(form);
    }
}

void CAppointDetailDlg::KeepDuration()
{
    AppointForm form = Form();
    if (OneTimeAllDay()) {
        form.startTime = L"00:00";
    }
    if (rememberedDuration_ <= 0.0 || !TimeTextMinutes(form.startTime)) {
        return;
    }
    ShowEndAt(FormStart(form) + rememberedDuration_);
}

AppointForm CAppointDetailDlg::Form() const
{
    AppointForm form;
    form.title = ComboText(*title_);
    form.place = ComboText(*place_);
    form.category = ComboText(*category_);
    form.memo = values_.fields.Body;
    form.startDate = ToSystemTime(startDate_->date());
    form.startTime = ComboText(*startTime_);
    form.endDate = ToSystemTime(endDate_->date());
    form.endTime = ComboText(*endTime_);
    form.allDay = allDay_->currentIndex() == 1;
    form.recurring = recur_->currentIndex() == 1;
    form.alarm = alarm_->currentIndex() == 1;
    form.status = status_->currentIndex();
    form.sensitivity = sensitive_->currentIndex();
    return form;
}

void CAppointDetailDlg::OnRecurDetail()
{
    if (setup_.exceptionMode) {
        if (ConfirmOk(services_.messages, res::IDS_CANCEL_EXCEPTION_QUESTION)) {
            FinishEdit(*this, services_, commits_.cancelException(),
                       LastEditResult::kExceptionCancelled);
        }
        return;
    }
    const AppointForm form = Form();
    for (const Verdict& time : {CheckAppointTime(form.startTime, kAppointStartTime),
                                CheckAppointTime(form.endTime, kAppointEndTime)}) {
        if (time) {
            ShowRefusal(*this, services_.messages, *time);
            return;
        }
    }
    const DATE start = FormStart(form);
    const DATE end = std::max(start, FormEnd(form));
    const int minutes = static_cast<int>(std::lround((end - start) * 1440.0));
    pim::RecurrenceFields pattern =
        values_.pattern ? *values_.pattern : pim::RecurrencePattern::WeeklyFrom(start, minutes);
    pattern.StartTime = start;
    pattern.Duration = minutes;
    pattern.EndTime = end - std::floor(end);
    CRecurDetailDlg::Options options;
    options.isNew = setup_.isNew && !values_.pattern;
    options.allDay = form.allDay;
    CRecurDetailDlg dialog(pattern, options, services_.settings, services_.messages, this);
    if (services_.dialogs.Run(dialog) != DialogAccepted) {
        return;
    }
    values_.pattern = pattern;
    const DATE first = std::floor(pattern.PatternStartDate);
    const int days = DaysSpanned(pattern.StartTime, pattern.Duration, false);
    {
        const QSignalBlocker block(startDate_);
        startDate_->setDate(ToQDate(first));
        endDate_->setDate(ToQDate(first + days));
    }
    SetTimeText(startTime_, ClockText(pattern.StartTime));
    SetTimeText(endTime_, ClockText(pattern.EndTime));
    lastStartTime_ = ComboText(*startTime_);
    lastEndTime_ = ComboText(*endTime_);
    ApplyRules();
    recurrenceSet_ = true;
}

void CAppointDetailDlg::OnAlarmDetail()
{
    CAlarmDetailDlg dialog(values_.fields, false, services_.settings, services_.messages, this);
    services_.dialogs.Run(dialog);
}

void CAppointDetailDlg::OnDelete()
{
    if (ConfirmOk(services_.messages, res::IDS_DELETE_APPOINTMENT)) {
        FinishEdit(*this, services_, commits_.remove(), LastEditResult::kDeleted);
    }
}

void CAppointDetailDlg::accept()
{
    ItemValues edited = values_;
    if (const Verdict refused = CheckAppointForm(Form(), recurrenceSet_, edited)) {
        ShowRefusal(*this, services_.messages, *refused);
        return;
    }
    if (!setup_.isNew && MovesInTime(values_, edited) &&
        !ConfirmMeetingTimeChange(services_.messages, values_.fields.Kept,
                                  OwnAddressesOf(services_))) {
        return;
    }
    const std::function<EditStatus(const ItemValues&)> answered = [this](const ItemValues& values) {
        return commits_.answer(values, *answer_);
    };
    FinishEdit(*this, services_,
               calendar_->Commit(edited, answer_ && commits_.answer ? answered : commits_.save),
               LastEditResult::kSaved);
}
