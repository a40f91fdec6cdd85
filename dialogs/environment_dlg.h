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

// Reads a chosen settings file into the settings, of any size, and tells the user in one line
// how many settings were read or that none could be, naming the file. Only a regular file is
// read: a device or a pipe is no settings file and would hold the window.
void ImportChosenSettingsFile(AppSettings& settings, MessageService& messages,
                              const std::string& path);

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
