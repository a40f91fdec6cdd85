// "Char Set": the two font faces and sizes, the display length of subjects and the four marker
// strings. The face fields offer the font families installed on the machine and take any text.
#pragma once

#include <QDialog>

#include "settings/app_settings.h"

class MessageService;
class QComboBox;
class QLineEdit;

class CCharSetDlg : public QDialog {
    Q_OBJECT
public:
    CCharSetDlg(AppSettings& settings, MessageService& messages, QWidget* parent = nullptr);

    void accept() override;

private:
    AppSettings& settings_;
    MessageService& messages_;
    QComboBox* mainFont_;
    QLineEdit* mainSize_;
    QComboBox* detailFont_;
    QLineEdit* detailSize_;
    QLineEdit* textLength_;
    QLineEdit* taskStart_;
    QLineEdit* taskDue_;
    QLineEdit* hideLeft_;
    QLineEdit* hideRight_;
};
