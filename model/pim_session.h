// The connection to the PIM store for the span of one operation: connect, fetch, find or create
// items, disconnect. The store is never held open between operations; the program owns one
// session, and tests make their own over a temporary store file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "model/pim_records.h"
#include "platform/pim/application.h"
#include "platform/pim/recurrence_fields.h"

class PimSession {
public:
    // The store file, and the occurrence rule the store decides recurring days with. A session
    // for reading only never creates or writes the store.
    PimSession(std::string storePath, pim::OccurrenceRule rule,
               pim::StoreDatabase::Access access = pim::StoreDatabase::Access::ReadWrite);
    ~PimSession();
    PimSession(const PimSession&) = delete;
    PimSession& operator=(const PimSession&) = delete;

    // Opens the store and reads both collections. A store that cannot be opened or read in
    // full leaves the session empty (counts 0, every fetch, find and create failing) with a
    // negative status and the reason in ConnectError(). After a read failure the store is
    // only opened read-only for the rest of the session, so a damaged file is never written.
    // Connecting an open session changes nothing. A selection other than All reads only those
    // items (the reminders read just the items that have one).
    int32_t Connect(pim::ItemSelection selection = pim::ItemSelection::All);
    // The same with only the items that can show on a day of the range (the document's
    // window, a listing of days); their positions count within what was read.
    int32_t Connect(const pim::DayRange& range);
    // Drops the current items, the collections and the connection; harmless when not open.
    void Disconnect();
    bool IsConnected() const { return application_ != nullptr; }
    // Why the store could not be opened or read; once connected, why it cannot be saved to
    // (empty when it can).
    const std::wstring& ConnectError() const { return connectError_; }

    // The store connected to; empty when not connected.
    pim::StoreDatabase::Identity StoreIdentity() const;
    // Why the last save, delete or batch was refused by the store itself (in use by another
    // program, no space left, read-only): one sentence naming the file; else empty.
    std::wstring LastWriteError() const;
    // Called around every connection this session opens, so a watch on the file can tell this
    // program's own changes from others': before it reads, and once it is closed, saying
    // whether another connection committed while it was open.
    enum class ConnectionEvent { Opening, Closed, ClosedAfterOthersWrote };
    void SetConnectionObserver(std::function<void(ConnectionEvent)> observer)
    {
        observer_ = std::move(observer);
    }

    int32_t AppointmentCount() const { return appointmentCount_; }
    int32_t TaskCount() const { return taskCount_; }

    // Item n (from 1) of the collection read at connect, which becomes the current item;
    // null on failure.
    AppointItem FetchAppointment(int32_t n);
    TaskItem FetchTask(int32_t n);

    // The item whose object id is in the document's 20-character oid field, which becomes the
    // current item; null (and no current item) on failure.
    AppointItem FindAppointment(const std::wstring& oidField);
    TaskItem FindTask(const std::wstring& oidField);

    // A new unsaved item, which becomes the current item; the caller fills and saves it.
    AppointItem CreateAppointment();
    TaskItem CreateTask();

    // Drop the current item, so the store's object is not held between operations.
    void ReleaseAppointment() { currentAppointment_.reset(); }
    void ReleaseTask() { currentTask_.reset(); }

    // Runs many saves as one transaction (imports); a negative result of `work` rolls every
    // save back. Fails when not connected.
    int32_t RunInOneTransaction(const std::function<int32_t()>& work);
    // The items whose subject, place, categories or memo contain `text`, case and accents
    // ignored, over the whole store; a session not connected opens the store for this alone,
    // without reading the collections.
    int32_t FindMatches(const std::wstring& text, std::vector<pim::FindMatch>& out);
    // Whether an item of the store holds the UID (1), none does (0), or the session is not
    // connected or cannot read (negative).
    int32_t HoldsUid(const std::wstring& uid) const;

    // The calendars of the store connected to; every call fails when not connected.
    pim::CalendarList Calendars() const;

    // The oid field the document keys its tables by: the id blank-padded to 20 characters.
    static std::wstring OidField(int32_t oid);

private:
    // Which items a connect reads: a selection of all, or the items of a range.
    using Reading = std::variant<pim::ItemSelection, pim::DayRange>;
    int32_t ConnectReading(const Reading& reading);
    bool OpenCollection(int32_t folderId, const Reading& reading,
                        std::shared_ptr<pim::Items>* items, int32_t* count);
    template <typename Item>
    std::shared_ptr<Item> Fetch(const pim::Items* items, int32_t count, int32_t n,
                                std::shared_ptr<Item>* current);
    template <typename Item>
    std::shared_ptr<Item> Find(const pim::Items* items, const std::wstring& oidField,
                               std::shared_ptr<Item>* current);
    template <typename Item>
    std::shared_ptr<Item> Create(int32_t type, std::shared_ptr<Item>* current);

    std::string storePath_;
    pim::OccurrenceRule rule_;
    pim::StoreDatabase::Access access_;
    std::unique_ptr<pim::Application> application_;
    std::shared_ptr<pim::Items> appointments_;
    std::shared_ptr<pim::Items> tasks_;
    int32_t appointmentCount_ = 0;
    int32_t taskCount_ = 0;
    AppointItem currentAppointment_;
    TaskItem currentTask_;
    int32_t lastStatus_ = 0;
    std::wstring connectError_;
    std::function<void(ConnectionEvent)> observer_;
    int64_t openedVersion_ = -1; // the store's data_version when this connection opened
};

// Connects a session for the span of one operation unless it is connected already, so a read
// and its save share one connection and nested operations do not disconnect their caller. The
// operation finds its items by object id, so no collection is read in advance unless the
// caller, walking every item, asks for a selection.
class ScopedConnection {
public:
    explicit ScopedConnection(PimSession& session,
                              pim::ItemSelection selection = pim::ItemSelection::None)
        : session_(session), opened_(!session.IsConnected())
    {
        if (opened_) {
            session_.Connect(selection);
        }
    }
    ~ScopedConnection()
    {
        if (opened_) {
            session_.Disconnect();
        }
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

private:
    PimSession& session_;
    bool opened_;
};
