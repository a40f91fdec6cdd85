// The alarm editor: loads the reminder into the controls of its mode and writes it back on OK.
#include "editors/alarm_detail_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"
#include "model/pim_records.h"
#include "platform/clock.h"
#include "settings/app_settings.h"

namespace {

constexpr int kOptionIds[] = {1034, 1035, 1036, 1037, 1038};

} // namespace

CAlarmDetailDlg::CAlarmDetailDlg(pim::ItemFields& fields, bool taskMode,
                                 const AppSettings& settings, MessageService& messages,
                                 QWidget* parent)
    : QDialog(parent), fields_(fields), taskMode_(taskMode), messages_(messages)
{
    setWindowTitle(tr("Alarm Detail"));
    Build(settings);
    Load();
}

void CAlarmDetailDlg::Build(const AppSettings& settings)
{
    // The two modes share the "Time" row; only the controls of this mode are built.
    auto* timeRow = new QHBoxLayout;
    QWidget* first;
    QWidget* second;
    if (taskMode_) {
        first = date_ = NewDatePicker(1095, this);
        date_->setDateRange(QDate(1900, 1, 1), QDate(2999, 12, 31));
        second = time_ = NewTimeCombo(1128, settings, this);
    } else {
        first = number_ = NewEditCombo(1032, settings, SettingsList::SelAlartMinuteInfo, this);
        second = unit_ = NewListCombo(
            1024, {L"Min Before", L"Hour Before", L"Days Before", L"Week Before"}, this);
    }
    timeRow->addWidget(first, 3);
    timeRow->addWidget(second, 2);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
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
    ChainTabOrder({first, second, options_[0], options_[1], options_[2], options_[3], options_[4],
                   soundFile_});
    resize(380, sizeHint().height());
}

void CAlarmDetailDlg::Load()
{
    if (taskMode_) {
        DATE at = fields_.ReminderTime;
        if (!IsReminderTimeSet(at)) {
            at = fields_.DueDate;
        }
        const SYSTEMTIME shown =
            IsReminderTimeSet(at) ? VariantTimeToSystemTime(at) : GetLocalTime();
        date_->setDate(QDate(shown.wYear, shown.wMonth, shown.wDay));
        SetTimeText(time_, TimeText(shown.wHour, shown.wMinute));
    } else {
        const LeadTime lead = SplitLeadMinutes(fields_.ReminderMinutesBeforeStart);
        number_->setEditText(QString::number(lead.number));
        unit_->setCurrentIndex(lead.unit);
    }
    for (int i = 0; i < 5; ++i) {
        options_[i]->setChecked((fields_.ReminderOptions & (1 << i)) != 0);
    }
    soundFile_->setText(ToQString(fields_.ReminderSoundFile));
}

AlarmForm CAlarmDetailDlg::Form() const
{
    AlarmForm form;
    form.taskMode = taskMode_;
    if (taskMode_) {
        form.date = ToSystemTime(date_->date());
        form.time = ToWString(time_->currentText());
    } else {
        form.number = ToWString(number_->currentText());
        form.unit = unit_->currentIndex();
    }
    for (int i = 0; i < 5; ++i) {
        if (options_[i]->isChecked()) {
            form.options |= 1 << i;
        }
    }
    form.soundFile = ToWString(soundFile_->text());
    return form;
}

void CAlarmDetailDlg::accept()
{
    pim::ItemFields edited = fields_;
    if (const Verdict refused = CheckAlarmForm(Form(), edited)) {
        ShowRefusal(*this, messages_, *refused);
        return;
    }
    fields_ = edited;
    QDialog::accept();
}
