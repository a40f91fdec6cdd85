// The item editors' "Calendar" field: the store's calendars an item of one kind may be saved in
// (writable, holding that kind), each shown with its colour, and the item's own calendar
// wherever it is. Choosing another one moves the item at OK; a new item starts in the calendar
// chosen last. An item of a read-only calendar is shown, not changed.
#pragma once

#include <QIcon>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/item_values.h"
#include "model/schedule_edits.h"
#include "platform/pim/store_calendars.h"

class AppSettings;
class QComboBox;
class QDialog;
struct EditorServices;

// The field's control id, the same in both editors.
inline constexpr int kCalendarControl = 1150;

// A square of the calendar's colour (0x00BBGGRR) in a thin outline, for lists of calendars.
QIcon CalendarIcon(uint32_t colour);

// What the field offers for an item of `kind` now in calendar `current` (0 for a new item), in
// the store's order: every writable calendar that holds that kind, and `current` whatever it is.
std::vector<pim::Calendar> OfferedCalendars(const std::vector<pim::Calendar>& all,
                                            pim::ItemKind kind, int32_t current);
// Where a new item starts: the calendar chosen last while it is offered, else the first local
// one offered, else the first offered; 0 when nothing is offered (the store decides).
int32_t StartingCalendar(const std::vector<pim::Calendar>& offered, int32_t lastChosen);

class CalendarField {
public:
    // Reads the store's calendars through the services; a new item's values (calendar 0) get
    // the starting calendar. `occurrence`: one occurrence is edited, and only its series moves.
    CalendarField(EditorServices& services, pim::ItemKind kind, ItemValues& values,
                  bool occurrence);

    QComboBox* Combo() const { return combo_; }
    int32_t Chosen() const;
    // The store's sentence when the item's calendar is read-only; empty when it may be saved.
    const std::wstring& ReadOnly() const { return readOnly_; }
    // An editor of a read-only calendar's item: the sentence on top, every control but the
    // memo (to read it) and Cancel disabled.
    void LockIfReadOnly(QDialog& editor, QWidget* memo) const;
    // Saves `edited` into the chosen calendar through `save`; once it went through, a calendar
    // the user picked (for a new item, or a move) is where the next new item starts.
    EditStatus Commit(ItemValues edited,
                      const std::function<EditStatus(const ItemValues&)>& save) const;

private:
    AppSettings& settings_;
    QComboBox* combo_;
    int32_t opened_ = 0;
    bool isNew_ = false;
    std::wstring readOnly_;
};
