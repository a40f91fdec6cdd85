// The alarm editor: loads the reminder into the controls of its mode and writes it back on OK.
#include "editors/alarm_detail_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editors/editor_controls.h"
#include "platform/clock.h"
#include "settings/app_settings.h"

namespace {

constexpr int kOptionIds[] = {1034, 1035, 1036, 1037, 1038};

void WriteCommon(pim::PimItem& item, const AlarmFields& fields)
{
    item.SetReminderOptions(fields.options);
    item.SetReminderSoundFile(fields.soundFile);
}

} // namespace

CAlarmDetailDlg::CAlarmDetailDlg(const AppSettings& settings, MessageService& messages,
                                 bool taskMode, QWidget* parent)
    : QDialog(parent), messages_(messages), taskMode_(taskMode)
{
    setWindowTitle(tr("Alarm Detail"));
    // The two modes share the "Time" row; only the controls of this mode are built.
    auto* timeRow = new QHBoxLayout;
    if (taskMode_) {
        date_ = NewDatePicker(1095, this);
        date_->setDateRange(QDate(1900, 1, 1), QDate(2999, 12, 31));
        time_ = NewTimeCombo(1128, settings, this);
        timeRow->addWidget(date_, 3);
        timeRow->addWidget(time_, 2);
    } else {
        number_ = NewEditCombo(1032, settings, SettingsList::SelAlartMinuteInfo, this);
        unit_ = NewListCombo(1024, {L"Min Before", L"Hour Before", L"Days Before", L"Week Before"},
                             this);
        timeRow->addWidget(number_, 2);
        timeRow->addWidget(unit_, 3);
    }
    auto* form = new QFormLayout;
    form->addRow(tr("Time"), timeRow);

    auto* optionGrid = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        options_[i] = Named(new QCheckBox(QString::fromWCharArray(kReminderOptionLabels[i]), this),
                            kOptionIds[i]);
        optionGrid->addWidget(options_[i], i / 3, i % 3);
    }
    soundFile_ = Named(new QLineEdit(this), 1040);
    form->addRow(optionGrid);
    form->addRow(tr("Sound File"), soundFile_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(NewOkCancel(this));
    QWidget* first = taskMode_ ? static_cast<QWidget*>(date_) : number_;
    QWidget* second = taskMode_ ? static_cast<QWidget*>(time_) : unit_;
    setTabOrder(first, second);
    setTabOrder(second, options_[0]);
    for (int i = 1; i < 5; ++i)
        setTabOrder(options_[i - 1], options_[i]);
    setTabOrder(options_[4], soundFile_);
    resize(380, sizeHint().height());
}

CAlarmDetailDlg::CAlarmDetailDlg(AppointItem appointment, const AppSettings& settings,
                                 MessageService& messages, QWidget* parent)
    : CAlarmDetailDlg(settings, messages, false, parent)
{
    appointment_ = std::move(appointment);
    const LeadTime lead =
        SplitLeadMinutes(appointment_ ? appointment_->GetReminderMinutesBeforeStart() : 0);
    number_->setEditText(QString::number(lead.number));
    unit_->setCurrentIndex(lead.unit);
    if (appointment_)
        LoadOptions(*appointment_);
}

CAlarmDetailDlg::CAlarmDetailDlg(TaskItem task, const AppSettings& settings,
                                 MessageService& messages, QWidget* parent)
    : CAlarmDetailDlg(settings, messages, true, parent)
{
    task_ = std::move(task);
    DATE at = task_ ? task_->GetReminderTime() : 0.0;
    if (!IsReminderTimeSet(at) && task_)
        at = task_->GetDueDate();
    const SYSTEMTIME shown = IsReminderTimeSet(at) ? VariantTimeToSystemTime(at) : GetLocalTime();
    date_->setDate(QDate(shown.wYear, shown.wMonth, shown.wDay));
    SetTimeText(time_, TimeText(shown.wHour, shown.wMinute));
    if (task_)
        LoadOptions(*task_);
}

void CAlarmDetailDlg::LoadOptions(const pim::PimItem& item)
{
    for (int i = 0; i < 5; ++i)
        options_[i]->setChecked((item.GetReminderOptions() & (1 << i)) != 0);
    soundFile_->setText(ToQString(item.GetReminderSoundFile()));
}

AlarmFields CAlarmDetailDlg::Fields() const
{
    AlarmFields fields;
    fields.taskMode = taskMode_;
    if (taskMode_) {
        fields.date = ToSystemTime(date_->date());
        fields.time = ToWString(time_->currentText());
    } else {
        fields.number = ToWString(number_->currentText());
        fields.unit = unit_->currentIndex();
    }
    for (int i = 0; i < 5; ++i)
        if (options_[i]->isChecked())
            fields.options |= 1 << i;
    fields.soundFile = ToWString(soundFile_->text());
    return fields;
}

void CAlarmDetailDlg::accept()
{
    const AlarmFields fields = Fields();
    if (const Verdict refusal = CheckAlarmFields(fields)) {
        ShowRefusal(*this, messages_, *refusal);
        return;
    }
    if (appointment_) {
        appointment_->SetReminderMinutesBeforeStart(*LeadMinutes(fields.number, fields.unit));
        WriteCommon(*appointment_, fields);
    } else if (task_) {
        task_->SetReminderTime(TaskReminderTime(fields));
        WriteCommon(*task_, fields);
    }
    QDialog::accept();
}
