// "Category Set": the categories that mark rest days and memorial days, and the view's category
// filter (its type and target categories). OK writes them into the settings held in memory.
#pragma once

#include <QDialog>

class AppSettings;
class DialogRunner;
class MessageService;
class QComboBox;

class CCategorySetDlg : public QDialog {
    Q_OBJECT
public:
    CCategorySetDlg(AppSettings& settings, DialogRunner& runner, MessageService& messages,
                    QWidget* parent = nullptr);

    // Checks the three category texts and stores all four settings.
    void accept() override;

    // The "Category Set" command: runs the dialog; true when the settings were changed.
    static bool Run(AppSettings& settings, DialogRunner& runner, MessageService& messages,
                    QWidget* parent = nullptr);

private:
    void ChooseTarget();

    AppSettings& settings_;
    DialogRunner& runner_;
    MessageService& messages_;
    QComboBox* restday_;
    QComboBox* memorial_;
    QComboBox* type_;
    QComboBox* target_;
};
