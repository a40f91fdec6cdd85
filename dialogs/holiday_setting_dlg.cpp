// The holiday settings dialog. The list view always mirrors the working list text: every button
// changes both the same way, element and row at the same position.
#include "dialogs/holiday_setting_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"
#include "model/date_time.h"
#include "model/text_list.h"
#include "res/string_table.h"

namespace {

bool IsOneWeekday(int mask)
{
    return mask >= 1 && mask <= 64 && (mask & (mask - 1)) == 0;
}

// The weekday of a one-bit mask; any other mask shows as Sunday.
int WeekdayOfMask(int mask)
{
    return IsOneWeekday(mask) ? WeekdayFromMask(mask) : 0;
}

// A field's name from the string table when the value lies in 1..count, else the raw value: an
// imported rule may hold any number, and an unchecked index would pick an unrelated text.
std::wstring NamedOrRaw(int value, int count, int firstId)
{
    return value >= 1 && value <= count ? res::LoadString(firstId + value - 1)
                                        : std::to_wstring(value);
}

QStringList DayNumbers()
{
    QStringList days;
    for (int day = 1; day <= 31; ++day) {
        days << QString::number(day);
    }
    return days;
}

QStringList WeekOrdinals()
{
    QStringList weeks = Texts(res::IDS_INSTANCE_FIRST, 5);
    for (QString& week : weeks) {
        week += QLatin1Char(' ') + Text(res::IDS_WEEK);
    }
    return weeks;
}

// Index `value` - 1 of a list when it has one, else no selection.
void SelectNumber(QComboBox* list, int value)
{
    list->setCurrentIndex(value >= 1 && value <= list->count() ? value - 1 : -1);
}

} // namespace

std::wstring HolidayMonthDayText(const HolidayRule& rule)
{
    const std::wstring month = NamedOrRaw(rule.month, 12, res::IDS_MONTH_BASE + 1);
    if (rule.type == kHolidayMonthDay) {
        return month + L" " + std::to_wstring(rule.dayOrWeek);
    }
    const int mask = rule.weekdayMask;
    return month + L" " + NamedOrRaw(rule.dayOrWeek, 5, res::IDS_INSTANCE_FIRST) + L" " +
           (IsOneWeekday(mask) ? WeekdayName(WeekdayFromMask(mask), false) : std::to_wstring(mask));
}

CHolidaySettingDlg::CHolidaySettingDlg(AppSettings& settings, MessageService& messages,
                                       QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages),
      rules_(settings.GetListText(SettingsList::HolidayInfo)),
      count_(settings.GetListCount(SettingsList::HolidayInfo))
{
    setWindowTitle(QStringLiteral("HolidaySetting"));
    list_ = Named(new QTreeWidget, 1122);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({Text(res::IDS_COLUMN_NAME), Text(res::IDS_COLUMN_MONTHDAY)});
    list_->setMinimumHeight(120);

    auto* grid = new QGridLayout;
    BuildFields(*grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(grid);
    AddOkCancel(*layout, *this);

    RebuildRows();
    type_->setCurrentIndex(0);
    // The first rule starts selected, so Upd and Del act on what the fields show.
    SelectRow(0);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { ShowRule(SelectedRow()); });
    connect(type_, &QComboBox::currentIndexChanged, this, &CHolidaySettingDlg::ApplyTypeRule);
    resize(440, 400);
}

void CHolidaySettingDlg::BuildFields(QGridLayout& grid)
{
    name_ = Named(new QLineEdit, 1030);
    type_ = MakeDropDown(1102, Texts(res::IDS_MONTH_AND_DAY, 2));
    month_ = MakeDropDown(1024, Texts(res::IDS_MONTH_BASE + 1, 12));
    dayLabel_ = Named(new QLabel(Text(res::IDS_DAY)), 1060);
    day_ = MakeDropDown(1104, DayNumbers());
    week_ = MakeDropDown(1121, WeekOrdinals());
    weekday_ = MakeDropDown(1064, Texts(res::IDS_WEEKDAY_FIRST, 7));
    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(day_, 1);
    dayRow->addWidget(week_, 1);
    dayRow->addWidget(weekday_, 1);

    const std::array<std::pair<const char*, QWidget*>, 3> rows = {
        {{"Name", name_}, {"Type", type_}, {"Month", month_}}};
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(QString::fromLatin1(rows[r].first));
        label->setBuddy(rows[r].second);
        grid.addWidget(label, r, 0);
        grid.addWidget(rows[r].second, r, 1);
    }
    grid.addWidget(dayLabel_, 3, 0);
    grid.addLayout(dayRow, 3, 1);
    grid.setColumnStretch(1, 1);

    auto* buttons = new QGridLayout;
    const std::array<std::tuple<int, const char*, void (CHolidaySettingDlg::*)()>, 4> actions = {{
        {1067, "Add", &CHolidaySettingDlg::Add},
        {1068, "Ins", &CHolidaySettingDlg::Insert},
        {1065, "Upd", &CHolidaySettingDlg::Update},
        {1066, "Del", &CHolidaySettingDlg::Delete},
    }};
    for (int i = 0; i < 4; ++i) {
        auto* button =
            NewPushButton(std::get<0>(actions[i]), QString::fromLatin1(std::get<1>(actions[i])));
        connect(button, &QPushButton::clicked, this, std::get<2>(actions[i]));
        buttons->addWidget(button, i / 2, i % 2);
    }
    auto* up = NewPushButton(1069, QStringLiteral("up"));
    auto* down = NewPushButton(1070, QStringLiteral("down"));
    connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Move(1); });
    buttons->addWidget(up, 2, 0);
    buttons->addWidget(down, 2, 1);
    grid.addLayout(buttons, 0, 2, 4, 1, Qt::AlignTop);
}

void CHolidaySettingDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // Name takes 3 and "MonthDay" 5 of 8 parts of the width, as the columns were always laid out.
    list_->header()->resizeSection(0, list_->viewport()->width() * 3 / 8);
}

void CHolidaySettingDlg::RebuildRows()
{
    list_->clear();
    for (int i = 0; i < count_; ++i) {
        HolidayRule rule;
        ParseHolidayRule(GetDelimited(rules_, i), rule);
        InsertRow(i, rule);
    }
}

void CHolidaySettingDlg::InsertRow(int position, const HolidayRule& rule)
{
    auto* item = new QTreeWidgetItem({ToQString(rule.name), ToQString(HolidayMonthDayText(rule))});
    list_->insertTopLevelItem(position, item);
}

int CHolidaySettingDlg::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CHolidaySettingDlg::SelectRow(int row)
{
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        list_->setCurrentItem(item);
        item->setSelected(true);
    }
    ShowRule(row);
}

void CHolidaySettingDlg::ShowRule(int i)
{
    if (i < 0 || i >= count_) {
        name_->clear();
        ApplyTypeRule();
        return;
    }
    HolidayRule rule;
    ParseHolidayRule(GetDelimited(rules_, i), rule);
    name_->setText(ToQString(rule.name));
    type_->setCurrentIndex(rule.type == kHolidayMonthDay ? 0 : 1);
    SelectNumber(month_, rule.month);
    if (rule.type == kHolidayMonthDay) {
        SelectNumber(day_, rule.dayOrWeek);
    } else {
        SelectNumber(week_, rule.dayOrWeek);
        weekday_->setCurrentIndex(WeekdayOfMask(rule.weekdayMask));
    }
    ApplyTypeRule();
}

void CHolidaySettingDlg::ApplyTypeRule()
{
    const bool monthDay = type_->currentIndex() == 0;
    day_->setVisible(monthDay);
    week_->setVisible(!monthDay);
    weekday_->setVisible(!monthDay);
    dayLabel_->setText(Text(monthDay ? res::IDS_DAY : res::IDS_WEEK));
    for (QComboBox* list : monthDay ? std::vector{day_} : std::vector{week_, weekday_}) {
        if (list->currentIndex() < 0) {
            list->setCurrentIndex(0);
        }
    }
}

HolidayRule CHolidaySettingDlg::RuleFromFields() const
{
    HolidayRule rule;
    rule.name = name_->text().toStdWString();
    rule.type = type_->currentIndex() + kHolidayMonthDay;
    rule.month = month_->currentIndex() + 1;
    if (rule.type == kHolidayMonthDay) {
        rule.dayOrWeek = day_->currentIndex() + 1;
    } else {
        rule.dayOrWeek = week_->currentIndex() + 1;
        rule.weekdayMask = 1 << weekday_->currentIndex();
    }
    return rule;
}

std::optional<HolidayRule> CHolidaySettingDlg::CheckedRuleFromFields()
{
    const HolidayRule rule = RuleFromFields();
    if (const auto refusal = CheckHolidayRule(rule)) {
        ShowRefusal(messages_, *refusal, *this);
        return std::nullopt;
    }
    return rule;
}

void CHolidaySettingDlg::Add()
{
    if (const auto rule = CheckedRuleFromFields()) {
        // Inserted after the counted elements, whatever text lies beyond them.
        rules_ = InsertDelimited(rules_, FormatHolidayRule(*rule), count_);
        InsertRow(count_++, *rule);
        SelectRow(count_ - 1);
    }
}

void CHolidaySettingDlg::Insert()
{
    const int selected = SelectedRow();
    if (selected < 0) {
        Add();
        return;
    }
    if (const auto rule = CheckedRuleFromFields()) {
        rules_ = InsertDelimited(rules_, FormatHolidayRule(*rule), selected);
        ++count_;
        InsertRow(selected, *rule);
        SelectRow(selected);
    }
}

void CHolidaySettingDlg::Update()
{
    const int selected = SelectedRow();
    const auto rule = CheckedRuleFromFields();
    if (selected < 0 || !rule) {
        return;
    }
    rules_ = ReplaceDelimited(rules_, FormatHolidayRule(*rule), selected);
    delete list_->takeTopLevelItem(selected);
    InsertRow(selected, *rule);
    SelectRow(selected);
}

void CHolidaySettingDlg::Delete()
{
    const int selected = SelectedRow();
    if (selected < 0) {
        return;
    }
    rules_ = DeleteDelimited(rules_, selected);
    --count_;
    delete list_->takeTopLevelItem(selected);
    SelectRow(selected < count_ ? selected : count_ - 1);
}

void CHolidaySettingDlg::Move(int step)
{
    const int selected = SelectedRow();
    const int target = selected + step;
    if (selected < 0 || target < 0 || target >= count_) {
        return;
    }
    const std::wstring element = GetDelimited(rules_, selected);
    rules_ = InsertDelimited(DeleteDelimited(rules_, selected), element, target);
    list_->insertTopLevelItem(target, list_->takeTopLevelItem(selected));
    SelectRow(target);
}

void CHolidaySettingDlg::accept()
{
    settings_.SetList(SettingsList::HolidayInfo, rules_, count_);
    QDialog::accept();
}
