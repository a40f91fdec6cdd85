// The schedule view as assistive technology sees it (through Qt's accessibility and AT-SPI):
// the picture buttons as a tool bar of buttons, the chart or grid as a table of days whose
// cells are the day's items, and the detail area as a list of its lines. Everything is read
// from the view's own layout and schedule when asked; when the key focus or the selection moves,
// a focus event names the new place so a screen reader follows.
#pragma once

#include <QAccessibleWidget>
#include <map>
#include <optional>
#include <tuple>

class CTamberloView;

// Registers the factory that gives every CTamberloView this interface; once per process.
void InstallScheduleAccessibility();

class AccessibleSchedule : public QAccessibleWidget {
public:
    enum Area { kBar, kButton, kBody, kDay, kItem, kDetail, kLine };
    // Where a node is: its area and, for days, items, buttons and lines, its numbers.
    struct Key {
        Area area = kBar;
        int day = -1;
        int index = -1;
        bool operator<(const Key& other) const
        {
            return std::tie(area, day, index) < std::tie(other.area, other.day, other.index);
        }
        bool operator==(const Key& other) const = default;
    };

    explicit AccessibleSchedule(CTamberloView* view);
    ~AccessibleSchedule() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

    CTamberloView& View() const;
    // The one node of `key`, made when first asked for.
    QAccessibleInterface* Node(const Key& key) const;
    // The node the key focus and the selection point at now.
    Key FocusKey() const;

private:
    void FollowFocus();

    mutable std::map<Key, QAccessible::Id> nodes_;
    QMetaObject::Connection followFocus_;
    std::optional<Key> lastFocus_;
    QString lastName_;
};
