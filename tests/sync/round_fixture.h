// The round tests' fixture: a real server with one calendar, stores, rounds at a fixed "now";
// each test runs on both servers, also without sync-collection (CTag) and without either (ETags).
#pragma once

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "ical/kept_component.h"
#include "sync/sync_round.h"
#include "tests/support/dav_fixture.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

// Items by UID as a resource carries them; conflict copies are local and left out.
using ItemsByUid = std::map<std::wstring, pim::StoredItem>;

// The server, and what a proxy before it hides of it (Pass: nothing).
struct RoundServer {
    DavServer::Kind kind;
    FaultProxy::Mode hiding = FaultProxy::Mode::Pass;
};

class RoundTest : public ::testing::TestWithParam<RoundServer> {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<DavServer>(GetParam().kind);
        ASSERT_TRUE(server_->Running()) << server_->Problem().toStdString();
        calendar_ = server_->MakeCalendar("cal", "Calendar");
        ASSERT_FALSE(calendar_.isEmpty());
        Point(calendar_, server_->Account());
        if (Hiding()) {
            hider_ = ProxyBefore();
            hider_->Set({GetParam().hiding, 1, INT_MAX, 403});
        }
    }
    static bool Hiding() { return GetParam().hiding != FaultProxy::Mode::Pass; }
    // A proxy before the server as rounds reach it, and the rounds pointed at it.
    std::unique_ptr<FaultProxy> ProxyBefore()
    {
        auto proxy = std::make_unique<FaultProxy>(hider_ ? hider_->Port() : server_->Port());
        Point(proxy->Url(calendar_.path()), server_->Account(proxy->Url()));
        return proxy;
    }
    // Rounds go to `calendar` over `connection` (the server itself, or a proxy before it).
    void Point(const QUrl& calendar, const caldav::Connection& connection)
    {
        account_.server = connection.server.toString().toStdWString();
        account_.user = connection.user.toStdWString();
        account_.eventCalendar = account_.taskCalendar = calendar.toString().toStdWString();
        connection_ = connection;
    }
    std::string Store(const char* name) const { return paths_.File(name); }
    caldav::RoundReport Round(const std::string& store, std::function<bool()> carryOn = {})
    {
        caldav::RoundOptions options{kRoundNow, std::move(carryOn)};
        options.pullBatch = pullBatch_;
        return caldav::RunRound(store, OccurrenceOnDay, KeptAccount(store), connection_, options);
    }
    // The account saved into `store` before its first round, as the tool's add does.
    void SaveAccount(const std::string& store)
    {
        pim::StoreDatabase db;
        pim::SyncAccount account = account_;
        ASSERT_TRUE(db.Open(store) == 0 && pim::SyncLedger(db).SaveAccount(account) >= 0);
    }
    // The account as `store` keeps it, the test's items moved from Personal into its calendar.
    pim::SyncAccount KeptAccount(const std::string& store)
    {
        pim::SyncAccount kept = account_;
        kept.id = keptIds_[store];
        {
            pim::StoreDatabase db;
            EXPECT_EQ(db.Open(store), 0);
            pim::SyncLedger ledger(db);
            std::vector<pim::SyncAccount> all;
            ledger.Accounts(all);
            for (const pim::SyncAccount& known : all) {
                if (kept.id == 0 && known.server == kept.server && known.user == kept.user) {
                    kept.id = known.id; // kept by the test itself, or by the tool
                }
            }
            if (std::find(all.begin(), all.end(), kept) == all.end()) {
                EXPECT_GE(ledger.SaveAccount(kept), 0);
            }
            keptIds_[store] = kept.id;
        }
        Sql(store, "UPDATE items SET calendar = ifnull((SELECT id FROM calendars WHERE account = " +
                       std::to_string(kept.id) + " AND url = '" +
                       QString::fromStdWString(kept.eventCalendar).toStdString() +
                       "'), 0) WHERE calendar = 1");
        return kept;
    }
    static ItemsByUid Local(const std::string& store, int* dirty = &ignored_)
    {
        std::vector<pim::SyncLink> links;
        {
            pim::StoreDatabase db;
            EXPECT_EQ(db.Open(store), 0);
            pim::SyncLedger(db).Links(links);
        }
        std::map<int32_t, pim::SyncLink> byOid;
        for (const pim::SyncLink& link : links) {
            byOid[link.oid] = link;
        }
        ItemsByUid out;
        for (const pim::StoredItem& item : Items(store)) {
            const pim::SyncLink& link = byOid[item.fields.Oid];
            if (!link.conflict) {
                out[item.fields.UID] = Carried(item);
                *dirty += static_cast<int>(link.Dirty());
            }
        }
        return out;
    }
    ItemsByUid Remote() const
    {
        ItemsByUid out;
        for (const pim::StoredItem& item : ItemsThere(server_->Account(), calendar_)) {
            out[item.fields.UID] = Content(item);
        }
        return out;
    }
    static pim::StoredItem Carried(const pim::StoredItem& item)
    {
        const caldav::ResourceItem read =
            caldav::ReadResource(caldav::ResourceText(item, kRoundNow), kRoundNow);
        EXPECT_TRUE(read.item) << item.fields.Oid;
        return Content(read.item.value_or(pim::StoredItem{}));
    }
    // What an item kept, as its content: a server stores it in its own order.
    static pim::StoredItem Content(pim::StoredItem item)
    {
        item.fields.Kept = ical::KeptContent(item.fields.Kept);
        for (pim::ExceptionFields& e : item.exceptions) {
            e.occurrence.Kept = ical::KeptContent(e.occurrence.Kept);
        }
        return item;
    }
    // Both stores and the server hold the same items, and neither store has one to push.
    void ExpectAgreement(const std::string& a, const std::string& b)
    {
        int dirty = 0;
        const ItemsByUid server = Remote();
        EXPECT_EQ(Local(a, &dirty), server);
        EXPECT_EQ(Local(b, &dirty), server);
        EXPECT_EQ(dirty, 0);
    }
    // The store's bytes (file and write-ahead log): unchanged means no write at all.
    static QByteArray Fingerprint(const std::string& store)
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const char* suffix : {"", "-wal"}) {
            hash.addData(Bytes(store + suffix));
        }
        return hash.result();
    }
    // Written by another client: straight into the server's folder where it can, else by PUT.
    void Plant(const QString& name, const QByteArray& text) const
    {
        if (!server_->Plant(calendar_, name, text)) {
            ASSERT_FALSE(Put(name, text).isEmpty()) << name.toStdString();
        }
    }
    QByteArray Put(const QString& name, const QByteArray& text) const
    {
        if (!other_) {
            other_ = std::make_unique<caldav::DavClient>(server_->Account());
        }
        return other_->Put(calendar_.resolved(QUrl(name)), text, caldav::Precondition::None).etag;
    }
    // An event as another client writes it: a floating DTSTART ("20261207T090000"), then `more`.
    static QByteArray OtherEvent(const QString& uid, const QString& start, const QString& more)
    {
        return EventText(uid.toStdString(),
                         "DTSTART:" + start.toStdString() + "\r\n" + more.toStdString());
    }
    // The number of items of a store and of UIDs among them: conflict copies and duplicates count.
    static std::pair<size_t, size_t> ItemAndUidCount(const std::string& store)
    {
        std::set<std::wstring> uids;
        const std::vector<pim::StoredItem> items = Items(store);
        for (const pim::StoredItem& item : items) {
            uids.insert(item.fields.UID);
        }
        return {items.size(), uids.size()};
    }
    TempPaths paths_;
    const std::string a_ = paths_.File("a.sqlite3"); // the two stores most tests sync
    const std::string b_ = paths_.File("b.sqlite3");
    std::unique_ptr<DavServer> server_;
    std::unique_ptr<FaultProxy> hider_;
    QUrl calendar_;
    pim::SyncAccount account_;
    std::map<std::string, int32_t> keptIds_; // the account's id in each store
    caldav::Connection connection_;
    int pullBatch_ = caldav::RoundOptions{}.pullBatch;
    mutable std::unique_ptr<caldav::DavClient> other_;
    static inline int ignored_ = 0; // the dirty count of a Local() that asks for none
};

// The tests whose rounds do not depend on how changes are followed, or that need sync-collection.
class PlainRoundTest : public RoundTest {};

inline std::string KindName(const ::testing::TestParamInfo<RoundServer>& info)
{
    return DavServer::Name(info.param.kind);
}

inline auto BothServers(FaultProxy::Mode hiding)
{
    return ::testing::Values(RoundServer{DavServer::Kind::Radicale, hiding},
                             RoundServer{DavServer::Kind::Xandikos, hiding});
}
