// "HolidaySetting": the holiday rule list with the fields of one rule and the buttons that add,
// insert, update, delete and move rules. Works on a copy of the list; OK writes it back.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "settings/holidays.h"

class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

// The "MonthDay" column of a rule: "January 15" or "May Last Monday".
std::wstring HolidayMonthDayText(const HolidayRule& rule);

class CHolidaySettingDlg : public QDialog {
    Q_OBJECT
public:
    CHolidaySettingDlg(AppSettings& settings, MessageService& messages, QWidget* parent = nullptr);

    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildFields(class QGridLayout& grid);
    void RebuildRows();
    void InsertRow(int position, const HolidayRule& rule);
    int SelectedRow() const;
    void SelectRow(int row);
    void ShowRule(int i);
    void ApplyTypeRule();
    HolidayRule RuleFromFields() const;
    std::optional<HolidayRule> CheckedRuleFromFields();

    void Add();
    void Insert();
    void Update();
    void Delete();
    void Move(int step);

    AppSettings& settings_;
    MessageService& messages_;
    std::wstring rules_;
    int count_ = 0;

    QTreeWidget* list_;
    QLineEdit* name_;
    QComboBox* type_;
    QComboBox* month_;
    QLabel* dayLabel_;
    QComboBox* day_;
    QComboBox* week_;
    QComboBox* weekday_;
};
