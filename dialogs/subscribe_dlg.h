// "Subscribe...": the address of an .ics file on the web (https://, webcal://, or http:// with a
// warning) and an optional name; Subscribe reads the file on a worker thread (the window keeps
// answering) and keeps it as a read-only calendar. A failure stays in the dialog, said in it.
#pragma once

#include <QDialog>
#include <string>

#include "sync/subscription.h"

class DialogRunner;
class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
class SyncCredentials;
class WorkerJob;

class CSubscribeDlg : public QDialog {
    Q_OBJECT
public:
    CSubscribeDlg(std::string storePath, SyncCredentials& credentials, MessageService& messages,
                  QWidget* parent = nullptr);
    // Waits for a read under way (its request is bounded in time).
    ~CSubscribeDlg() override;

    // True when a calendar was subscribed to.
    static bool Run(DialogRunner& dialogs, std::string storePath, SyncCredentials& credentials,
                    MessageService& messages, QWidget* parent = nullptr);

    const caldav::SubscriptionReport& Report() const { return report_; }

signals:
    // A Subscribe has ended and its answer is shown (or the dialog accepted).
    void SubscribeFinished();

private:
    void AddressEdited();
    void Subscribe();
    void Ended();

    std::string storePath_;
    SyncCredentials& credentials_;
    MessageService& messages_;
    WorkerJob* reading_;
    caldav::SubscriptionReport report_;
    QLineEdit* address_;
    QLineEdit* name_;
    QLabel* status_;
    QPushButton* subscribe_;
};
