// The environment dialog. After a settings file is read, the fields that a file can set show the
// new values, so a later OK keeps what the file brought instead of writing the old ones back.
#include "dialogs/environment_dlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"
#include "dialogs/settings_file_chooser.h"
#include "editors/memo_edit_dlg.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/edit_lists.h"
#include "settings/settings_persistence.h"
#include "settings/usable_range.h"

namespace {

constexpr int kMaxWeeks = 9;

QStringList WeekCounts()
{
    QStringList counts;
    for (int weeks = 1; weeks <= kMaxWeeks; ++weeks) {
        counts << Text(res::IDS_WEEKS_FORMAT).replace(QStringLiteral("%d"), QString::number(weeks));
    }
    return counts;
}

// A two-entry switch list; any non-zero stored value shows as the second entry.
void SelectSwitch(QComboBox* list, int value)
{
    list->setCurrentIndex(value != 0 ? 1 : 0);
}

} // namespace

void ImportChosenSettingsFile(AppSettings& settings, MessageService& messages,
                              const std::string& path)
{
    const QString name = QString::fromLocal8Bit(path);
    const int read = QFileInfo(name).isFile() ? ReadSettingsFile(settings, path).settingsRead : 0;
    if (read > 0) {
        messages.MessageBox(Text(res::IDS_SETTINGS_READ).arg(read).arg(name).toStdWString(),
                            res::LoadString(res::IDS_IMPORT), MB_OK | MB_ICONINFORMATION);
    } else {
        messages.MessageBox(Text(res::IDS_NO_SETTINGS_READ).arg(name).toStdWString(),
                            res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }
}

CEnvironmentDlg::CEnvironmentDlg(AppSettings& settings, MessageService& messages,
                                 DialogRunner& dialogs, SettingsFileChooser& files, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), dialogs_(dialogs), files_(files)
{
    setWindowTitle(QStringLiteral("Environment"));
    dispNoDue_ = MakeDropDown(1024, {Text(res::IDS_HIDE), Text(res::IDS_SHOW)});
    cntFromToday_ = MakeNumberField(1034, 0);
    startHour_ = MakeNumberField(1035, settings.GetDefaultStartHour());
    weekCount_ = MakeDropDown(1025, WeekCounts());
    taskAreaWidth_ = MakeNumberField(1031, settings.GetTaskAreaWidth());
    infoAreaWidth_ = MakeNumberField(1032, settings.GetInfoAreaWidth());
    infoAreaHeight_ = MakeNumberField(1033, settings.GetInfoAreaHeight());
    editList_ = MakeDropDown(1113, Texts(res::IDS_EDIT_LIST_FIRST, kEditListCount));
    editList_->setCurrentIndex(0);
    auto* edit = NewPushButton(1066, QStringLiteral("Edit"));
    stdtChg_ = MakeDropDown(1102, {Text(res::IDS_NO_CARE), Text(res::IDS_CHANGE)});
    SelectSwitch(stdtChg_, settings.GetStdtChg());
    usePopup_ = MakeDropDown(1103, {Text(res::IDS_OFF), Text(res::IDS_ON)});
    auto* readFile = NewPushButton(1065, QStringLiteral("..."));
    ShowImportableSettings();

    auto* grid = new QGridLayout;
    const auto addRow = [grid](const char* label, QWidget* field, QWidget* after = nullptr) {
        const int row = grid->rowCount();
        auto* text = new QLabel(QString::fromLatin1(label));
        text->setBuddy(field);
        grid->addWidget(text, row, 0);
        grid->addWidget(field, row, 1);
        if (after != nullptr) {
            grid->addWidget(after, row, 2);
        }
    };
    addRow("Finished NoDue Task", dispNoDue_);
    addRow("Disp before from today", cntFromToday_, new QLabel(QStringLiteral("days before")));
    addRow("Default Min Start Hour", startHour_, new QLabel(QStringLiteral(":00")));
    addRow("View week(calendar)", weekCount_);
    addRow("Task Area Width", taskAreaWidth_);
    addRow("Detail Area Width", infoAreaWidth_);
    addRow("Detail Area Height", infoAreaHeight_);
    addRow("Edit List", editList_, edit);
    addRow("Change Start, Change End", stdtChg_);
    addRow("Use context menu", usePopup_);
    addRow("Settings File", readFile);
    grid->setColumnStretch(1, 1);
    connect(edit, &QPushButton::clicked, this, &CEnvironmentDlg::EditSelectedList);
    connect(readFile, &QPushButton::clicked, this, &CEnvironmentDlg::ReadSettingsFile);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    AddOkCancel(*layout, *this);
}

// The four fields a settings file can change.
void CEnvironmentDlg::ShowImportableSettings()
{
    SelectSwitch(dispNoDue_, settings_.GetDispNoDue());
    cntFromToday_->setText(QString::number(settings_.GetCntFromToday()));
    weekCount_->setCurrentIndex(usable::DispWeekCount(settings_.GetDispWeekCount()) - 1);
    SelectSwitch(usePopup_, settings_.GetUsePopup());
}

// The list changes as soon as the memo editor ends with OK, whatever this dialog does after.
void CEnvironmentDlg::EditSelectedList()
{
    const auto list = static_cast<EditList>(editList_->currentIndex());
    CMemoEditDlg memo(ListToLines(settings_, list), messages_, this);
    if (dialogs_.Run(memo) == DialogAccepted) {
        ReplaceListFromLines(settings_, list, memo.Text());
    }
}

void CEnvironmentDlg::ReadSettingsFile()
{
    const std::string path = files_.Choose(this);
    if (path.empty()) {
        return;
    }
    ImportChosenSettingsFile(settings_, messages_, path);
    ShowImportableSettings();
}

void CEnvironmentDlg::accept()
{
    const EnvironmentFields fields{NumberIn(cntFromToday_), NumberIn(startHour_),
                                   NumberIn(taskAreaWidth_), NumberIn(infoAreaWidth_),
                                   NumberIn(infoAreaHeight_)};
    const auto refusal = CheckEnvironment(fields);
    WriteUntil(
        {
            {1024, [&] { settings_.SetDispNoDue(dispNoDue_->currentIndex()); }},
            {1034, [&] { settings_.SetCntFromToday(fields.cntFromToday); }},
            {1035, [&] { settings_.SetDefaultStartHour(fields.startHour); }},
            {1031, [&] { settings_.SetTaskAreaWidth(fields.taskAreaWidth); }},
            {1032, [&] { settings_.SetInfoAreaWidth(fields.infoAreaWidth); }},
            {1033, [&] { settings_.SetInfoAreaHeight(fields.infoAreaHeight); }},
            {1025, [&] { settings_.SetDispWeekCount(weekCount_->currentIndex() + 1); }},
            {1102, [&] { settings_.SetStdtChg(stdtChg_->currentIndex()); }},
            {1103, [&] { settings_.SetUsePopup(usePopup_->currentIndex()); }},
        },
        refusal);
    if (refusal) {
        ShowRefusal(messages_, *refusal, *this);
        return;
    }
    QDialog::accept();
}
