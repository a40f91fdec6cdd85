// The recurrence editor's widgets: loading a pattern or the defaults of a new one, the layout
// of each type, duration keeping, and OK with the start check that offers to move the pattern's
// start to its first real occurrence.
#include "editors/recur_detail_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "editors/dialog_controls.h"
#include "model/date_time.h"
#include "model/recurrence.h"
#include "platform/message_service.h"
#include "platform/pim/item_fields.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

namespace {

const char* const kWeekdayLabels[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr int kWeekdayIds[] = {kRecurSunday, 1065, 1066, 1067, 1068, 1069, 1070};

std::vector<std::wstring> Strings(int firstId, int count, const std::wstring& suffix = {})
{
    std::vector<std::wstring> texts;
    texts.reserve(count);

    for (int i = 0; i < count; ++i) {
        texts.push_back(res::LoadString(firstId + i) + suffix);
    }
    return texts;
}

std::vector<std::wstring> DayNumbers()
{
    std::vector<std::wstring> days;
    for (int d = 1; d <= 31; ++d) {
        days.push_back(std::to_wstring(d));
    }
    return days;
}

// No length limit: a stored value too long for the field shows whole and is refused at OK
// instead of being cut to its first digits.
QLineEdit* NumberField(int id)
{
    auto* field = Named(new QLineEdit, id);
    field->setMaximumWidth(60);
    return field;
}

// A pressed weekday reads at a glance, on every style.
constexpr char kWeekdayStyle[] =
    "QToolButton:checked { background-color: palette(highlight); color: palette(highlighted-text);"
    " border: 1px solid palette(dark); }";

} // namespace

CRecurDetailDlg::CRecurDetailDlg(pim::RecurrenceFields& pattern, const Options& options,
                                 const AppSettings& settings, MessageService& messages,
                                 QWidget* parent)
    : QDialog(parent), pattern_(pattern), options_(options), messages_(messages)
{
    setWindowTitle(tr("Recur Detail"));
    Build(settings);
    if (options_.isNew || pattern_.RecurrenceType < 0) {
        LoadDefaults();
    } else {
        LoadPattern();
    }
    ApplyLayout();
    if (settings.GetStdtChg() == 1) {
        WatchFocus(*startTime_, [this](bool in) { in ? RememberDuration() : KeepDuration(); });
    }
}

void CRecurDetailDlg::Build(const AppSettings& settings)
{
    startDate_ = NewDatePicker(kRecurStartDate, nullptr);
    noEnd_ = Named(new QRadioButton(tr("No End")), kRecurNoEnd);
    endOn_ = Named(new QRadioButton, kRecurEndOn);
    endDate_ = NewDatePicker(kRecurEndDate, nullptr);
    startTime_ = NewTimeCombo(kRecurStartTime, settings, nullptr);
    endTime_ = NewTimeCombo(kRecurEndTime, settings, nullptr);
    daysAfter_ = NumberField(kRecurDaysAfter);
    interval_ = NumberField(kRecurInterval);
    type_ = NewChoiceCombo(kRecurType, Strings(res::IDS_TYPE_DAILY, 4));
    month_ = NewChoiceCombo(kRecurMonth, Strings(res::IDS_MONTH_BASE + 1, 12));
    dayRadio_ = Named(new QRadioButton(tr("Day")), kRecurDayRadio);
    day_ = NewChoiceCombo(kRecurDay, DayNumbers());
    weekRadio_ = Named(new QRadioButton(tr("Week")), kRecurWeekRadio);
    instance_ = NewChoiceCombo(kRecurInstance, Strings(res::IDS_INSTANCE_FIRST, 5, L" Week"));
    auto* endGroup = new QButtonGroup(this);
    endGroup->addButton(noEnd_);
    endGroup->addButton(endOn_);
    auto* dayWeekGroup = new QButtonGroup(this);
    dayWeekGroup->addButton(dayRadio_);
    dayWeekGroup->addButton(weekRadio_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Period")), 0, 0);
    grid->addWidget(startDate_, 0, 1, 1, 2);
    grid->addWidget(noEnd_, 1, 0);
    auto* endRow = new QHBoxLayout;
    endRow->addWidget(endOn_);
    endRow->addWidget(new QLabel(tr("to")));
    endRow->addWidget(endDate_, 1);
    grid->addLayout(endRow, 1, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Time")), 2, 0);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(startTime_, 1);
    timeRow->addWidget(new QLabel(tr("to")));
    timeRow->addWidget(endTime_, 1);
    timeRow->addWidget(daysAfter_);
    timeRow->addWidget(new QLabel(tr("day after")));
    grid->addLayout(timeRow, 2, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Int.")), 3, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(interval_);
    typeRow->addWidget(type_, 1);
    grid->addLayout(typeRow, 3, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Set")), 4, 0);
    grid->addWidget(month_, 4, 1, 1, 3);
    grid->addWidget(dayRadio_, 5, 0);
    grid->addWidget(day_, 5, 1);
    grid->addWidget(weekRadio_, 6, 0);
    grid->addWidget(instance_, 6, 1, 1, 3);
    grid->addWidget(new QLabel(tr("WeekOfDay")), 7, 0);
    auto* weekdayRow = new QHBoxLayout;
    for (int w = 0; w < 7; ++w) {
        auto* button = Named(new QToolButton, kWeekdayIds[w]);
        button->setText(QString::fromLatin1(kWeekdayLabels[w]));
        button->setCheckable(true);
        button->setMinimumWidth(40);
        button->setStyleSheet(QString::fromLatin1(kWeekdayStyle));
        weekdays_[w] = button;
        weekdayRow->addWidget(button);
    }
    grid->addLayout(weekdayRow, 7, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    QDialogButtonBox* buttons = NewOkCancel(this);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ChainTabOrder({startDate_,   noEnd_,
                   endOn_,       endDate_,
                   startTime_,   endTime_,
                   daysAfter_,   interval_,
                   type_,        month_,
                   dayRadio_,    day_,
                   weekRadio_,   instance_,
                   weekdays_[0], weekdays_[1],
                   weekdays_[2], weekdays_[3],
                   weekdays_[4], weekdays_[5],
                   weekdays_[6], ok});
    connect(noEnd_, &QRadioButton::clicked, this, &CRecurDetailDlg::OnEndChoice);
    // Only a switch to the end-date radio starts the end at the start; clicking it again keeps
    // the typed end.
    connect(endOn_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            endDate_->setDate(startDate_->date());
        }
        OnEndChoice();
    });
    connect(type_, &QComboBox::currentIndexChanged, this, [this] {
        dayRadio_->setChecked(true); // a new type starts with its Day rule
        ApplyLayout();
    });
    connect(dayRadio_, &QRadioButton::toggled, this, &CRecurDetailDlg::ApplyLayout);
}

void CRecurDetailDlg::LoadPattern()
{
    const pim::RecurrenceFields& p = pattern_;
    startDate_->setDate(ToQDate(p.PatternStartDate));
    const bool endSet = !p.NoEndDate && p.PatternEndDate < pim::kNoDate;
    (endSet ? endOn_ : noEnd_)->setChecked(true);
    endDate_->setDate(ToQDate(endSet ? p.PatternEndDate : p.PatternStartDate));
    SetTimeText(startTime_, options_.allDay ? L"00:00" : ClockText(p.StartTime));
    SetTimeText(endTime_, options_.allDay ? L"00:00" : ClockText(p.EndTime));
    const int days = options_.spanMinutes >= 0 ? options_.spanMinutes / 1440
                                               : DaysSpanned(p.StartTime, p.Duration, false);
    daysAfter_->setText(QString::number(days));
    {
        const QSignalBlocker block(type_);
        type_->setCurrentIndex(TypeIndexOf(p.RecurrenceType));
    }
    const bool nth = p.RecurrenceType == kRecursMonthNth || p.RecurrenceType == kRecursYearNth;
    (nth ? weekRadio_ : dayRadio_)->setChecked(true);
    interval_->setText(QString::number(p.Interval));
    month_->setCurrentIndex(std::clamp(p.MonthOfYear - 1, 0, 11));
    day_->setCurrentIndex(std::clamp(p.DayOfMonth - 1, 0, 30));
    instance_->setCurrentIndex(std::clamp(p.Instance - 1, 0, 4));
    for (int w = 0; w < 7; ++w) {
        weekdays_[w]->setChecked(LayoutOf(p.RecurrenceType).weekdays &&
                                 IsWeekdayInMask(w, p.DayOfWeekMask));
    }
}

// A new series starts from its item: the item's times, span and first day (its weekday, month
// and day of the month).
void CRecurDetailDlg::LoadDefaults()
{
    const pim::RecurrenceFields& p = pattern_;
    const SYSTEMTIME first = VariantTimeToSystemTime(p.PatternStartDate);
    startDate_->setDate(ToQDate(p.PatternStartDate));
    endDate_->setDate(ToQDate(p.PatternStartDate));
    noEnd_->setChecked(true);
    interval_->setText(QStringLiteral("1"));
    {
        const QSignalBlocker block(type_);
        type_->setCurrentIndex(TypeIndexOf(kRecursWeekly));
    }
    dayRadio_->setChecked(true);
    instance_->setCurrentIndex(0);
    int days = 0;
    if (options_.allDay && options_.appointment) {
        days = std::max(1, p.Duration / 1440);
    } else if (!options_.allDay) {
        days = DaysSpanned(p.StartTime, p.Duration, false);
    }
    daysAfter_->setText(QString::number(days));
    SetTimeText(startTime_, options_.allDay ? L"00:00" : ClockText(p.StartTime));
    SetTimeText(endTime_, options_.allDay ? L"00:00" : ClockText(p.EndTime));
    for (int w = 0; w < 7; ++w) {
        weekdays_[w]->setChecked(w == first.wDayOfWeek);
    }
    month_->setCurrentIndex(first.wMonth - 1);
    day_->setCurrentIndex(first.wDay - 1);
}

void CRecurDetailDlg::ApplyLayout()
{
    const int32_t type = RecurrenceTypeOf(type_->currentIndex(), dayRadio_->isChecked());
    const RecurLayout layout = LayoutOf(type);
    if (interval_->isEnabled() && !layout.interval) {
        lastInterval_ = interval_->text();
        interval_->clear();
    } else if (!interval_->isEnabled() && layout.interval && interval_->text().isEmpty()) {
        interval_->setText(lastInterval_.isEmpty() ? QStringLiteral("1") : lastInterval_);
    }
    interval_->setEnabled(layout.interval);
    dayRadio_->setEnabled(layout.dayWeekRadios);
    weekRadio_->setEnabled(layout.dayWeekRadios);
    month_->setEnabled(layout.month);
    day_->setEnabled(layout.day);
    instance_->setEnabled(layout.instance);
    for (QAbstractButton* button : weekdays_) {
        button->setEnabled(layout.weekdays);
    }
    startTime_->setEnabled(!options_.allDay);
    endTime_->setEnabled(!options_.allDay);
    endDate_->setEnabled(endOn_->isChecked());
}

void CRecurDetailDlg::OnEndChoice()
{
    endDate_->setEnabled(endOn_->isChecked());
}

RecurForm CRecurDetailDlg::Form() const
{
    RecurForm form;
    form.startDate = ToSystemTime(startDate_->date());
    form.noEnd = noEnd_->isChecked();
    form.endDate = ToSystemTime(endDate_->date());
    form.startTime = ComboText(*startTime_);
    form.endTime = ComboText(*endTime_);
    form.daysAfter = ToWString(daysAfter_->text().trimmed());
    form.interval = ToWString(interval_->text().trimmed());
    form.typeIndex = type_->currentIndex();
    form.dayRadio = dayRadio_->isChecked();
    form.month = month_->currentIndex();
    form.day = day_->currentIndex();
    form.instance = instance_->currentIndex();
    for (int w = 0; w < 7; ++w) {
        if (weekdays_[w]->isChecked()) {
            form.weekdayMask |= 1 << w;
        }
    }
    return form;
}

// Start and end of one occurrence as the form shows it, in days.
void CRecurDetailDlg::RememberDuration()
{
    const RecurForm form = Form();
    const std::optional<int> start = TimeTextMinutes(form.startTime);
    const std::optional<int> end = TimeTextMinutes(form.endTime, true);
    if (!start || !end) {
        return;
    }
    rememberedDuration_ = daysAfter_->text().toInt() + (*end - *start) / 1440.0;
}

void CRecurDetailDlg::KeepDuration()
{
    const std::optional<int> start = TimeTextMinutes(ComboText(*startTime_));
    if (rememberedDuration_ <= 0.0 || !start) {
        return;
    }
    const double end = *start / 1440.0 + rememberedDuration_;
    const double days = std::floor(end + 1e-9);
    daysAfter_->setText(QString::number(static_cast<int>(days)));
    SetTimeText(endTime_, ClockText(end));
}

// The pattern's first day must itself be an occurrence; offers to move it to the next one.
bool CRecurDetailDlg::CheckStart(pim::RecurrenceFields& pattern)
{
    const SYSTEMTIME start = VariantTimeToSystemTime(pattern.PatternStartDate);
    const int onStart = OccurrenceOnDay(pattern, start, -1);
    if (onStart == kOneDayStarts || onStart == kLongerStarts) {
        return true;
    }
    const std::optional<SYSTEMTIME> next = NextOccurrence(pattern, start);
    if (!next) {
        return true;
    }
    if (!ConfirmOkText(messages_, res::LoadString(res::IDS_MOVE_START_QUESTION) + DayText(*next))) {
        return false;
    }
    const DATE nextDay = SystemTimeToVariantTime(*next);
    if (!pattern.NoEndDate && pattern.PatternEndDate < nextDay) {
        ShowWarning(messages_, res::IDS_START_BEFORE_END);
        endDate_->setFocus();
        return false;
    }
    // The occurrences keep their time of day on the new first day.
    pattern.StartTime += nextDay - pattern.PatternStartDate;
    pattern.PatternStartDate = nextDay;
    startDate_->setDate(ToQDate(nextDay));
    return true;
}

void CRecurDetailDlg::accept()
{
    pim::RecurrenceFields edited = pattern_;
    if (const Verdict refused =
            CheckRecurForm(Form(), options_.allDay, options_.appointment, edited)) {
        ShowRefusal(*this, messages_, *refused);
        return;
    }
    if (!CheckStart(edited)) {
        return;
    }
    pattern_ = edited;
    spanMinutes_ = edited.Duration;
    QDialog::accept();
}
