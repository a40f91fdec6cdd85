// The week-and-colour dialog: the two weekday lists on top, the weekday colours in one column
// and the special day colours in a second, each row a label, its swatch and a "..." button.
#include "dialogs/week_color_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/color_sel_dlg.h"
#include "dialogs/color_swatch.h"
#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/usable_range.h"

namespace {

struct ColorRow {
    int buttonId;
    const char* label;
    IntSetting setting;
};

// Sunday .. Saturday, then Holiday, Restday, Memorial and DaySelBox, as the two columns show them.
constexpr std::array<ColorRow, CWeekColorDlg::kColorCount> kColorRows = {{
    {1176, "Sunday", IntSetting::ColorSunday},
    {1066, "Monday", IntSetting::ColorMonday},
    {1067, "Tuesday", IntSetting::ColorTuesday},
    {1068, "Wednes", IntSetting::ColorWednesday},
    {1069, "Thursday", IntSetting::ColorThursday},
    {1070, "Friday", IntSetting::ColorFriday},
    {1071, "Saturday", IntSetting::ColorSaturday},
    {1072, "Holiday", IntSetting::ColorHoliday},
    {1074, "Restday", IntSetting::ColorRestday},
    {1073, "Memorial", IntSetting::ColorMemorialday},
    {1075, "DaySelBox", IntSetting::ColorSelday},
}};
constexpr int kWeekdayRows = 7;
constexpr int kNoCareIndex = 7;

QComboBox* MakeWeekdayList(int id, int selected)
{
    QStringList entries = Texts(res::IDS_WEEKDAY_FIRST, 7);
    entries << Text(res::IDS_NO_CARE_WEEKDAY);
    auto* list = MakeDropDown(id, entries);
    list->setCurrentIndex(usable::Weekday(selected));
    return list;
}

} // namespace

CWeekColorDlg::CWeekColorDlg(AppSettings& settings, MessageService& messages, DialogRunner& dialogs,
                             QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("Week & Color Set"));
    startDow_ = MakeWeekdayList(1164, settings.GetStartDow());
    restDow_ = MakeWeekdayList(1102, settings.GetRestDow());
    auto* weekdays = new QFormLayout;
    weekdays->addRow(QStringLiteral("Start DayOfWeek"), startDow_);
    weekdays->addRow(QStringLiteral("Rest DayOfWeek"), restDow_);

    auto* colors = new QGridLayout;
    colors->setHorizontalSpacing(6);
    colors->setColumnMinimumWidth(3, 18);
    for (int i = 0; i < kColorCount; ++i) {
        const bool weekday = i < kWeekdayRows;
        AddColorRow(i, *colors, weekday ? i : i - kWeekdayRows, weekday ? 0 : 4);
    }
    colors->setColumnStretch(3, 1);

    rate_ = MakeNumberField(1183, settings.GetBrightReduceRate());
    rate_->setMaximumWidth(rate_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    auto* rateLabel = new QLabel(QStringLiteral("BrightRate"));
    rateLabel->setBuddy(rate_);
    colors->addWidget(rateLabel, 5, 4);
    colors->addWidget(rate_, 5, 5, 1, 2);
    QPushButton* initialize = NewPushButton(1065, QStringLiteral("Initialize"));
    colors->addWidget(initialize, 6, 4, 1, 3);
    connect(initialize, &QPushButton::clicked, this, &CWeekColorDlg::Initialize);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(weekdays);
    layout->addSpacing(6);
    layout->addLayout(colors);
    layout->addStretch(1);
    AddOkCancel(*layout, *this);
}

void CWeekColorDlg::AddColorRow(int i, QGridLayout& grid, int row, int column)
{
    const ColorRow& entry = kColorRows[i];
    QPushButton* button = NewPushButton(entry.buttonId, QStringLiteral("..."));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    swatches_[i] = new ColorSwatch(static_cast<uint32_t>(settings_.Get(entry.setting)));
    swatches_[i]->setFixedSize(button->sizeHint().height() * 3 / 2, button->sizeHint().height());
    auto* label = new QLabel(QString::fromLatin1(entry.label));
    label->setBuddy(button);
    grid.addWidget(label, row, column);
    grid.addWidget(swatches_[i], row, column + 1);
    grid.addWidget(button, row, column + 2);
    connect(button, &QPushButton::clicked, this, [this, i] { PickColor(i); });
}

uint32_t CWeekColorDlg::WorkingColor(int i) const
{
    return swatches_[i]->ColorRef();
}

void CWeekColorDlg::PickColor(int i)
{
    CColorSelDlg picker(WorkingColor(i), this);
    if (dialogs_.Run(picker) == DialogAccepted) {
        swatches_[i]->SetColorRef(picker.Color());
    }
}

void CWeekColorDlg::Initialize()
{
    const int answer =
        messages_.MessageBox(res::LoadString(res::IDS_INITIALIZE_COLORS),
                             res::LoadString(res::IDS_CONFIRM), MB_OKCANCEL | MB_ICONINFORMATION);
    if (answer != IDOK) {
        return;
    }
    startDow_->setCurrentIndex(kNoCareIndex);
    restDow_->setCurrentIndex(0);
    for (int i = 0; i < kColorCount; ++i) {
        swatches_[i]->SetColorRef(
            static_cast<uint32_t>(AppSettings::Info(kColorRows[i].setting).defaultValue));
    }
}

void CWeekColorDlg::accept()
{
    const int rate = NumberIn(rate_);
    if (const auto refusal = CheckBrightRate(rate)) {
        ShowRefusal(messages_, *refusal, *this);
        return;
    }
    settings_.SetBrightReduceRate(rate);
    settings_.SetStartDow(startDow_->currentIndex());
    settings_.SetRestDow(restDow_->currentIndex());
    for (int i = 0; i < kColorCount; ++i) {
        settings_.Set(kColorRows[i].setting, static_cast<int>(WorkingColor(i)));
    }
    QDialog::accept();
}
