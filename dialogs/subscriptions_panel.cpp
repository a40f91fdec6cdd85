// Each change opens the store for itself, as the accounts dialog's do, so the tool and the
// window's store watch see it at once.
#include "dialogs/subscriptions_panel.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/color_sel_dlg.h"
#include "dialogs/settings_controls.h"
#include "editors/calendar_field.h"
#include "editors/dialog_controls.h"
#include "editors/editor_controls.h"
#include "ical/ical_text.h"
#include "platform/dialog_runner.h"
#include "platform/pim/store_database.h"
#include "platform/pim/store_subscriptions.h"
#include "res/string_table.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

QString TimeText(const SYSTEMTIME& at)
{
    return QStringLiteral("%1:%2")
        .arg(at.wHour, 2, 10, QLatin1Char('0'))
        .arg(at.wMinute, 2, 10, QLatin1Char('0'));
}

} // namespace

SubscriptionsPanel::SubscriptionsPanel(std::string storePath, MessageService& messages,
                                       QPushButton* subscribe, QWidget* parent)
    : QWidget(parent), storePath_(std::move(storePath)), messages_(messages),
      list_(new QListWidget), rename_(NewPushButton(0, Text(res::IDS_SUBSCRIPTION_RENAME), this)),
      colour_(NewPushButton(0, Text(res::IDS_SUBSCRIPTION_COLOUR), this)),
      unsubscribe_(NewPushButton(0, Text(res::IDS_UNSUBSCRIBE), this))
{
    list_->setObjectName(QStringLiteral("subscriptionList"));
    rename_->setObjectName(QStringLiteral("renameSubscription"));
    colour_->setObjectName(QStringLiteral("subscriptionColour"));
    unsubscribe_->setObjectName(QStringLiteral("unsubscribe"));
    auto* title = new QLabel(Text(res::IDS_SUBSCRIPTIONS));
    title->setBuddy(list_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(subscribe);
    buttons->addStretch();
    buttons->addWidget(rename_);
    buttons->addWidget(colour_);
    buttons->addWidget(unsubscribe_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    ChainTabOrder({list_, subscribe, rename_, colour_, unsubscribe_});
    connect(list_, &QListWidget::currentRowChanged, this, &SubscriptionsPanel::Choose);
    connect(rename_, &QPushButton::clicked, this, &SubscriptionsPanel::Rename);
    connect(colour_, &QPushButton::clicked, this, &SubscriptionsPanel::Recolour);
    connect(unsubscribe_, &QPushButton::clicked, this, &SubscriptionsPanel::Unsubscribe);
    Reload();
}

void SubscriptionsPanel::SetDialogs(DialogRunner* dialogs)
{
    dialogs_ = dialogs;
    Choose();
}

void SubscriptionsPanel::ShowReads(std::map<int32_t, SubscriptionRead> reads)
{
    reads_ = std::move(reads);
    Reload();
}

void SubscriptionsPanel::Reload()
{
    const int32_t chosen = Chosen() != nullptr ? Chosen()->id : 0;
    subscriptions_.clear();
    pim::StoreDatabase db;
    // A store that cannot be read shows none; the accounts list above says why.
    if (db.Open(storePath_) < 0 || pim::SubscriptionLedger(db).All(subscriptions_) < 0) {
        subscriptions_.clear();
    }
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const pim::Calendar& calendar : subscriptions_) {
        auto* line = new QListWidgetItem(CalendarIcon(calendar.colour), LineText(calendar), list_);
        line->setData(kIdRole, calendar.id);
        if (calendar.id == chosen) {
            list_->setCurrentItem(line);
        }
    }
    Choose();
}

// "Holidays <https://example.org/h.ics>, read at 10:30"
QString SubscriptionsPanel::LineText(const pim::Calendar& calendar) const
{
    QString text = QStringLiteral("%1 <%2>").arg(ToQString(calendar.name), ToQString(calendar.url));
    const auto read = reads_.find(calendar.id);
    if (read == reads_.end()) {
        return text;
    }
    const SubscriptionRead& last = read->second;
    const QString how = last.failure.empty()
                            ? Text(res::IDS_SUBSCRIPTION_READ_AT).arg(TimeText(last.at))
                            : Text(res::IDS_SUBSCRIPTION_NOT_READ).arg(ToQString(last.failure));
    return text + QStringLiteral(", ") + how;
}

const pim::Calendar* SubscriptionsPanel::Chosen() const
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(subscriptions_.size())) {
        return nullptr;
    }
    return &subscriptions_[static_cast<size_t>(row)];
}

void SubscriptionsPanel::Choose()
{
    const bool chosen = Chosen() != nullptr;
    rename_->setEnabled(chosen && dialogs_ != nullptr);
    colour_->setEnabled(chosen && dialogs_ != nullptr);
    unsubscribe_->setEnabled(chosen);
}

void SubscriptionsPanel::Rename()
{
    const pim::Calendar* chosen = Chosen();
    if (chosen == nullptr || dialogs_ == nullptr) {
        return;
    }
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SubscriptionNameDialog"));
    dialog.setWindowTitle(Text(res::IDS_SUBSCRIPTIONS));
    dialog.setLabelText(Text(res::IDS_SUBSCRIPTION_NEW_NAME));
    dialog.setTextValue(ToQString(chosen->name));
    if (dialogs_->Run(dialog) != DialogAccepted) {
        return;
    }
    pim::Calendar renamed = *chosen;
    renamed.name = ToWString(dialog.textValue().trimmed());
    if (!renamed.name.empty() && renamed.name != chosen->name) {
        Save(std::move(renamed));
    }
}

void SubscriptionsPanel::Recolour()
{
    const pim::Calendar* chosen = Chosen();
    if (chosen == nullptr || dialogs_ == nullptr) {
        return;
    }
    CColorSelDlg dialog(chosen->colour, this);
    if (dialogs_->Run(dialog) != DialogAccepted || dialog.Color() == chosen->colour) {
        return;
    }
    pim::Calendar recoloured = *chosen;
    recoloured.colour = dialog.Color();
    Save(std::move(recoloured));
}

void SubscriptionsPanel::Save(pim::Calendar calendar)
{
    pim::StoreDatabase db;
    if (db.Open(storePath_) < 0 || pim::CalendarList(db).Save(calendar) < 0) {
        emit StoreFailed();
        return;
    }
    db.Close();
    Reload();
    emit StoreChanged();
}

void SubscriptionsPanel::Unsubscribe()
{
    const pim::Calendar* chosen = Chosen();
    if (chosen == nullptr) {
        return;
    }
    const pim::Calendar calendar = *chosen;
    pim::StoreDatabase db;
    std::map<int32_t, int32_t> counts;
    if (db.Open(storePath_) < 0 || pim::CalendarList(db).ItemCounts(counts) < 0) {
        emit StoreFailed();
        return;
    }
    const QString question =
        Text(res::IDS_UNSUBSCRIBE_QUESTION)
            .arg(ToQString(calendar.name),
                 QString::fromStdString(ical::Counted(counts[calendar.id], "item")),
                 ToQString(calendar.url));
    if (!ConfirmOkText(messages_, ToWString(question))) {
        return;
    }
    int deleted = 0;
    if (pim::SubscriptionLedger(db).Unsubscribe(calendar.id, deleted) < 0) {
        emit StoreFailed();
        return;
    }
    db.Close();
    reads_.erase(calendar.id);
    Reload();
    emit StoreChanged();
}
