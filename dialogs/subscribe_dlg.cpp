// The subscription is written to the store by the worker's read itself, so the dialog only
// accepts once the calendar is there; a certificate that does not verify is asked about as the
// accounts dialog asks.
#include "dialogs/subscribe_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "dialogs/settings_controls.h"
#include "dialogs/sync_access.h"
#include "dialogs/worker_job.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"

CSubscribeDlg::CSubscribeDlg(std::string storePath, SyncCredentials& credentials,
                             MessageService& messages, QWidget* parent)
    : QDialog(parent), storePath_(std::move(storePath)), credentials_(credentials),
      messages_(messages), reading_(new WorkerJob(this)), address_(new QLineEdit),
      name_(new QLineEdit), status_(new QLabel), subscribe_(nullptr)
{
    setObjectName(QStringLiteral("SubscribeDlg"));
    setWindowTitle(Text(res::IDS_SUBSCRIBE_TITLE));
    address_->setObjectName(QStringLiteral("address"));
    address_->setPlaceholderText(QStringLiteral("webcal://example.org/holidays.ics"));
    name_->setObjectName(QStringLiteral("name"));
    status_->setObjectName(QStringLiteral("subscribeStatus"));
    status_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(Text(res::IDS_SUBSCRIBE_ADDRESS), address_);
    form->addRow(Text(res::IDS_SUBSCRIBE_NAME), name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    subscribe_ = buttons->addButton(Text(res::IDS_SUBSCRIBE), QDialogButtonBox::AcceptRole);
    subscribe_->setObjectName(QStringLiteral("subscribe"));
    subscribe_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSubscribeDlg::Subscribe);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(address_, &QLineEdit::textChanged, this, &CSubscribeDlg::AddressEdited);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(480, sizeHint().height());
}

CSubscribeDlg::~CSubscribeDlg() = default;

bool CSubscribeDlg::Run(DialogRunner& dialogs, std::string storePath, SyncCredentials& credentials,
                        MessageService& messages, QWidget* parent)
{
    CSubscribeDlg dialog(std::move(storePath), credentials, messages, parent);
    return dialogs.Run(dialog) == DialogAccepted && dialog.Report().calendar.id != 0;
}

// Plain http is said before anything is read, as the accounts dialog says it.
void CSubscribeDlg::AddressEdited()
{
    const QUrl address = caldav::SubscriptionAddress(address_->text());
    status_->setText(address.scheme() == QLatin1String("http")
                         ? Text(res::IDS_SUBSCRIPTION_PLAIN_HTTP).arg(address.toString())
                         : QString());
}

void CSubscribeDlg::Subscribe()
{
    const QUrl address = caldav::SubscriptionAddress(address_->text());
    if (address.isEmpty()) {
        status_->setText(Text(res::IDS_SUBSCRIPTION_BAD_ADDRESS));
        address_->setFocus();
        emit SubscribeFinished();
        return;
    }
    caldav::Connection limits;
    limits.trustedFingerprints = credentials_.TrustedFingerprints();
    auto report = std::make_shared<caldav::SubscriptionReport>();
    subscribe_->setEnabled(false);
    status_->setText(Text(res::IDS_SUBSCRIBE_READING));
    reading_->Start([report, path = storePath_, address, name = name_->text().toStdWString(),
                     limits] { *report = caldav::Subscribe(path, address, name, limits); },
                    [this, report] {
                        report_ = *report;
                        Ended();
                    });
}

void CSubscribeDlg::Ended()
{
    subscribe_->setEnabled(true);
    const caldav::SyncError& error = report_.error;
    if (credentials_.AskToTrust(error, messages_)) {
        Subscribe();
        return;
    }
    if (error) {
        status_->setText(QString::fromStdWString(error.message));
    } else {
        accept();
    }
    emit SubscribeFinished();
}
