// The alarm editor: loads the reminder into the controls of its mode and writes it back on OK.
#include "editors/alarm_detail_dlg.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"
#include "editors/text_rules.h"
#include "model/pim_records.h"
#include "platform/clock.h"
#include "settings/edit_lists.h"

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
        first = date_ = MakeDatePicker(1095);
        second = time_ = MakeTimeCombo(1128, settings);
    } else {
        first = number_ = MakeCombo(1032, EditListItems(settings, EditList::AlarmTimeList), true);
        second = unit_ =
            MakeCombo(1024, {L"Min Before", L"Hour Before", L"Days Before", L"Week Before"}, false);
    }
    timeRow->addWidget(first, 3);
    timeRow->addWidget(second, 2);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tr("Time"), timeRow);

    auto* optionGrid = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        options_[i] =
            Named(new QCheckBox(QString::fromWCharArray(kReminderOptionLabels[i])), kOptionIds[i]);
        optionGrid->addWidget(options_[i], i / 3, i % 3);
    }
    soundFile_ = Named(new QLineEdit, 1040);
    form->addRow(optionGrid);
    form->addRow(tr("Sound File"), soundFile_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    QPushButton* ok = AddOkButton(*layout, *this);
    connect(ok, &QPushButton::clicked, this, &CAlarmDetailDlg::OnOk);
    ChainTabOrder({first, second, options_[0], options_[1], options_[2], options_[3], options_[4],
                   soundFile_, ok});
    resize(380, sizeHint().height());
}

void CAlarmDetailDlg::Load()
{
    if (taskMode_) {
        DATE at = fields_.ReminderTime;
        if (!IsReminderTimeSet(at))
            at = fields_.DueDate;
        const SYSTEMTIME shown =
            IsReminderTimeSet(at) ? VariantTimeToSystemTime(at) : GetLocalTime();
        SetDate(*date_, shown);
        SetComboText(*time_, ToQt(TimeTextOf(SystemTimeToVariantTime(shown))));
    } else {
        const LeadTime lead = SplitLeadMinutes(fields_.ReminderMinutesBeforeStart);
        number_->setEditText(QString::number(lead.number));
        unit_->setCurrentIndex(lead.unit);
    }
    for (int i = 0; i < 5; ++i)
        options_[i]->setChecked((fields_.ReminderOptions & (1 << i)) != 0);
    soundFile_->setText(ToQt(fields_.ReminderSoundFile));
}

AlarmForm CAlarmDetailDlg::Form() const
{
    AlarmForm form;
    form.taskMode = taskMode_;
    if (taskMode_) {
        form.date = DateOf(*date_);
        form.time = ComboText(*time_);
    } else {
        form.number = ComboText(*number_);
        form.unit = unit_->currentIndex();
    }
    for (int i = 0; i < 5; ++i)
        if (options_[i]->isChecked())
            form.options |= 1 << i;
    form.soundFile = FromQt(soundFile_->text());
    return form;
}

void CAlarmDetailDlg::OnOk()
{
    pim::ItemFields edited = fields_;
    const AlarmCheck check = CheckAlarmForm(Form(), edited);
    if (check.control != 0) {
        ShowWarning(messages_, check.messageId);
        if (auto* control = findChild<QWidget*>(QStringLiteral("id%1").arg(check.control)))
            control->setFocus();
        return;
    }
    fields_ = edited;
    accept();
}
