// What the item editors need from the program: the settings (edit lists, StdtChg, the edit
// result), the message boxes, the dialog runner, the change path to the store and document, and
// the window dialogs are centred on. The view builds one and hands it to every editor; the
// steps the appointment and task editors take alike over these services are declared here too.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ical/item_meeting.h"
#include "model/schedule_edits.h"

class AppSettings;
class DialogRunner;
class MessageService;
class QComboBox;
class QDialog;
class QUrl;
class QWidget;
class UndoStack;

struct EditorServices {
    AppSettings& settings;
    MessageService& messages;
    DialogRunner& dialogs;
    ScheduleEdits& edits;
    QWidget* parent = nullptr;
    // The user's own calendar addresses, read when a meeting needs them; none when not given.
    std::function<ical::OwnAddresses()> ownAddresses = nullptr;
    // Opens a meeting's link; not given: in the desktop's browser.
    std::function<void(const QUrl&)> openLink = nullptr;
    // Where an editor's changes that belong together become one step; none keeps no steps.
    UndoStack* undo = nullptr;
};

// The user's own addresses as the services give them.
ical::OwnAddresses OwnAddressesOf(const EditorServices& services);
// Before the time of a meeting someone else organizes changes: the Confirm box of
// ical::CopyOnlyNotice, true for OK; true unasked for any other item.
bool ConfirmMeetingTimeChange(MessageService& messages, const std::string& kept,
                              const ical::OwnAddresses& own);

// Shows the message for a change or read that failed: "Fail at get data." when the item is
// gone, "Fail to Get Appoint Info" for a missing occurrence, the store's own sentence when it
// refused for a reason of its own (cannot be opened, in use, full, read-only), else "Can't
// change to this datetime"; a warning for a replaced store. Nothing for kDone or a change
// refused because another program changed the item (the Confirm box spoke for it).
void ReportEditFailure(MessageService& messages, const ScheduleEdits& edits, EditStatus status);
void ReportEditFailure(EditorServices& services, EditStatus status);
// For an editor whose item could not be read: shows why, and asks for a reload when the store
// was replaced (it was read afresh).
Redraw ReportUnreadItem(EditorServices& services, const ReadResult& read);

// What an editor shows again after the user took another program's version of its item: that
// version as `theirs` (the change's new starting point) and with the user's edits on top.
struct TakenVersion {
    ItemValues theirs;
    ItemValues shown;
};

// Applies an editor's change. When another program changed the item meanwhile, a Confirm box
// names it: OK overwrites that change; Cancel leaves it, and for an editor (with `taken`) fills
// `taken` with that version and the user's edits merged on top, answering kChangedMeanwhile.
// The editor's box names its buttons "Save Mine Over It" and "Merge and Edit Again".
EditResult ApplyOrConfirm(EditorServices& services, ScheduleChange change,
                          std::optional<TakenVersion>* taken);
// The changes of one editor session over an item: each starts from the values the editor was
// opened with; when the user takes another program's version, the editor is shown again on that
// version with the user's edits on top.
class EditorChanges {
public:
    EditorChanges(EditorServices& services, const ReadResult& read, bool isNew);

    // Whether the editor is to be shown (again), on Shown().
    bool NextRound();
    const ItemValues& Shown() const { return shown_; }
    // Applies a change from the opened values, through the Confirm box when needed.
    EditStatus Apply(ScheduleChange change);
    // Applies the save of `values` over `item`.
    EditStatus Save(const ItemRef& item, const ItemValues& values);
    // Keeps the largest redraw any change asked for.
    void Note(Redraw redraw);
    Redraw Result() const { return redraw_; }

private:
    EditorServices& services_;
    std::optional<ItemValues> before_;
    std::optional<ItemValues> opened_; // what the editor first opened on, once a merge was shown
    ItemValues shown_;
    std::optional<TakenVersion> taken_;
    bool shownOnce_ = false;
    Redraw redraw_ = Redraw::kNothing;
};

// The Delete question of the view's command, naming the item as read now ("Delete Appointment
// "Dentist". OK?"); the plain question when it could not be read or has no subject.
bool ConfirmDelete(MessageService& messages, pim::ItemKind kind,
                   const std::optional<ItemValues>& item);

// Asks whether to overwrite another program's change of the item named `subject`.
bool ConfirmOverwrite(MessageService& messages, const std::wstring& subject);
// The editor's form of it, its buttons saying what each does; true for "Save Mine Over It".
bool ConfirmEditorOverwrite(MessageService& messages, const std::wstring& subject);

// Ends an item editor after its change reached the change path: on success the editor closes
// with `editResult` as the last edit result; otherwise the failure is shown and the editor
// closes too, unless the store refused (the user may then mend the values and try again).
void FinishEdit(QDialog& editor, EditorServices& services, EditStatus status, int editResult);

// The editors' "..." next to the category: the chosen categories replace the combo's text.
void ChooseCategories(QComboBox& category, EditorServices& services, QWidget* parent);
// The editors' memo button: the memo editor's text replaces `body` on OK.
void EditMemo(std::wstring& body, EditorServices& services, QWidget* parent);
