// The subscriptions in Calendar Accounts: each calendar file on the web with its colour, name,
// address and how its last refresh went; Rename, Colour and Unsubscribe write the store at once.
// Unsubscribe asks first, naming the calendar and how many items go with it.
#pragma once

#include <QWidget>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/pim/store_calendars.h"
#include "platform/systemtime.h"

class DialogRunner;
class MessageService;
class QListWidget;
class QPushButton;

// How a subscription's last refresh of this run went.
struct SubscriptionRead {
    SYSTEMTIME at{};        // when it was read, or found unchanged
    std::wstring failure{}; // why it was not; empty when it was
};

class SubscriptionsPanel : public QWidget {
    Q_OBJECT
public:
    // `subscribe` leads the panel's row of buttons.
    SubscriptionsPanel(std::string storePath, MessageService& messages, QPushButton* subscribe,
                       QWidget* parent = nullptr);

    // How Rename and Colour show their dialogs; without it they stay disabled.
    void SetDialogs(DialogRunner* dialogs);
    // By calendar id; each line tells its own.
    void ShowReads(std::map<int32_t, SubscriptionRead> reads);
    // Lists the store's subscriptions again, keeping the chosen one where it still is.
    void Reload();

    QListWidget* List() const { return list_; }
    const std::vector<pim::Calendar>& Subscriptions() const { return subscriptions_; }

signals:
    // A subscription was renamed, recoloured or dropped.
    void StoreChanged();
    // The store could not be read or written.
    void StoreFailed();

private:
    QString LineText(const pim::Calendar& calendar) const;
    const pim::Calendar* Chosen() const;
    void Choose();
    void Rename();
    void Recolour();
    void Unsubscribe();
    void Save(pim::Calendar calendar);

    std::string storePath_;
    MessageService& messages_;
    DialogRunner* dialogs_ = nullptr;
    std::map<int32_t, SubscriptionRead> reads_;
    std::vector<pim::Calendar> subscriptions_;
    QListWidget* list_;
    QPushButton* rename_;
    QPushButton* colour_;
    QPushButton* unsubscribe_;
};
