// The Calendars list beside the schedule: every calendar of the store, in its order, with its
// colour and a check box that shows or hides its items (Space ticks the current one). It lists
// the calendars the document was last loaded with, so it never disagrees with what is drawn.
#pragma once

#include <QDockWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/pim/store_calendars.h"

class QListWidget;
class QListWidgetItem;

class CalendarsDock : public QDockWidget {
    Q_OBJECT
public:
    // Called when the user ticks or unticks a calendar.
    using Toggle = std::function<void(int32_t calendar, bool shown)>;

    explicit CalendarsDock(Toggle toggle, QWidget* parent = nullptr);

    // Lists `calendars`; the rows are kept (and the current one with them) while the same
    // calendars are listed, so a tick that is being handled never loses its row.
    void ShowCalendars(const std::vector<pim::Calendar>& calendars);
    // Shows the dock with its list focused; when the list has the focus already, hides it.
    void ShowOrHide();

    QListWidget* List() const { return list_; }

private:
    // As wide as the longest name with its box and swatch needs, within bounds: the schedule
    // keeps the room.
    int PreferredWidth() const;
    void FillRow(QListWidgetItem& row, const pim::Calendar& calendar) const;
    void Ticked(QListWidgetItem* row);

    Toggle toggle_;
    QListWidget* list_;
};
