// "Environment": task display, the start of the shown period, the first hour, the calendar's
// week count, the area sizes, the duration rule of the editors and the context menu; from here
// the user also edits the six edit lists and reads a settings file.
#pragma once

#include <QDialog>
#include <string>

#include "settings/app_settings.h"

class DialogRunner;
class MessageService;
class QComboBox;
class QLineEdit;
class SettingsFileChooser;

// Reads a chosen settings file into the settings. Only a regular file of at most
// kMaxSettingsFileBytes is read: a device, a pipe or a huge file is no settings file and would
// hold the window. False when the file was not read to its end.
constexpr long long kMaxSettingsFileBytes = 4 * 1024 * 1024;
bool ImportChosenSettingsFile(AppSettings& settings, const std::string& path);

class CEnvironmentDlg : public QDialog {
    Q_OBJECT
public:
    CEnvironmentDlg(AppSettings& settings, MessageService& messages, DialogRunner& dialogs,
                    SettingsFileChooser& files, QWidget* parent = nullptr);

    void accept() override;

private:
    void ShowImportableSettings();
    void EditSelectedList();
    void ReadSettingsFile();

    AppSettings& settings_;
    MessageService& messages_;
    DialogRunner& dialogs_;
    SettingsFileChooser& files_;
    QComboBox* dispNoDue_;
    QLineEdit* cntFromToday_;
    QLineEdit* startHour_;
    QComboBox* weekCount_;
    QLineEdit* taskAreaWidth_;
    QLineEdit* infoAreaWidth_;
    QLineEdit* infoAreaHeight_;
    QComboBox* editList_;
    QComboBox* stdtChg_;
    QComboBox* usePopup_;
};
