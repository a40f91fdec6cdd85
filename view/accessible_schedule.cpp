// The nodes below the view's interface are plain QAccessibleInterface objects named by their
// place (area, day, number); each is made once, registered with Qt, and reads the view afresh on
// every question, so there is no second layout or copy of the schedule to go stale.
#include "view/accessible_schedule.h"

#include <QAccessible>
#include <vector>

#include "res/string_table.h"
#include "view/accessible_item_text.h"
#include "view/calendar_geometry.h"
#include "view/gantt_geometry.h"
#include "view/keys_and_mouse.h"
#include "view/schedule_source.h"
#include "view/tamberlo_view.h"

namespace {

using Key = AccessibleSchedule::Key;
using enum AccessibleSchedule::Area;

QString Q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::vector<AccessibleItem> ItemsOf(const CTamberloView& view, int day)
{
    return AccessibleItems(view.Schedule(), day, view.Selection(), view.SelectedRow());
}

int DetailLineCount(const CTamberloView& view)
{
    const DetailLines& lines = view.LastDetailLines();
    return view.Layout().detailVisible ? lines.taskLines + lines.appointmentLines : 0;
}

// The item a detail line lists, among the selected day's items.
std::optional<AccessibleItem> ItemOfLine(const CTamberloView& view, int line)
{
    const DetailLines& lines = view.LastDetailLines();
    const int row = view.SelectedRow();
    if (line < 0 || line >= DetailLineCount(view) || row < 0 || row >= view.Layout().dayRowCount) {
        return std::nullopt;
    }
    const ItemKind kind = line < lines.taskLines ? ItemKind::Task : ItemKind::Appointment;
    const int pos = lines.ItemOf(line);
    for (AccessibleItem& item :
         AccessibleItems(view.Schedule(), row, view.Selection(), row, true)) {
        if (item.kind == kind && item.pos == pos) {
            item.selected = view.Selection().line == line;
            return item;
        }
    }
    return std::nullopt;
}

class AccessibleScheduleNode : public QAccessibleInterface {
public:
    AccessibleScheduleNode(const AccessibleSchedule& root, Key key) : root_(root), key_(key) {}

    bool isValid() const override { return Exists(key_); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return root_.window(); }
    QAccessibleInterface* parent() const override;
    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    QRect rect() const override;
    QAccessible::State state() const override;

private:
    const CTamberloView& View() const { return root_.View(); }
    bool Exists(const Key& key) const;
    std::vector<Key> Children() const;
    std::optional<AccessibleItem> Item() const;

    const AccessibleSchedule& root_;
    Key key_;
};

bool AccessibleScheduleNode::Exists(const Key& key) const
{
    const ViewLayout& layout = View().Layout();
    switch (key.area) {
    case kBar:
    case kBody:
        return true;
    case kDetail:
        return layout.detailVisible;
    case kButton:
        return !ButtonName(key.index).empty();
    case kDay:
        return key.day >= 0 && key.day < layout.dayRowCount;
    case kItem:
        return key.day >= 0 && key.day < layout.dayRowCount && key.index >= 0 &&
               key.index < static_cast<int>(ItemsOf(View(), key.day).size());
    case kLine:
        return ItemOfLine(View(), key.index).has_value();
    }
    return false;
}

std::vector<Key> AccessibleScheduleNode::Children() const
{
    std::vector<Key> keys;
    switch (key_.area) {
    case kBar:
        for (int button : NamedButtons()) {
            keys.push_back({kButton, -1, button});
        }
        break;
    case kBody:
        for (int day = 0; day < View().Layout().dayRowCount; ++day) {
            keys.push_back({kDay, day});
        }
        break;
    case kDay:
        for (int i = 0; i < static_cast<int>(ItemsOf(View(), key_.day).size()); ++i) {
            keys.push_back({kItem, key_.day, i});
        }
        break;
    case kDetail:
        for (int line = 0; line < DetailLineCount(View()); ++line) {
            keys.push_back({kLine, -1, line});
        }
        break;
    default:
        break;
    }
    return keys;
}

std::optional<AccessibleItem> AccessibleScheduleNode::Item() const
{
    if (key_.area == kLine) {
        return ItemOfLine(View(), key_.index);
    }
    if (key_.area != kItem || !Exists(key_)) {
        return std::nullopt;
    }
    return ItemsOf(View(), key_.day)[key_.index];
}

QAccessibleInterface* AccessibleScheduleNode::parent() const
{
    switch (key_.area) {
    case kButton:
        return root_.Node({kBar});
    case kDay:
        return root_.Node({kBody});
    case kItem:
        return root_.Node({kDay, key_.day});
    case kLine:
        return root_.Node({kDetail});
    default:
        return QAccessible::queryAccessibleInterface(&root_.View());
    }
}

QAccessibleInterface* AccessibleScheduleNode::child(int index) const
{
    const std::vector<Key> keys = Children();
    return index >= 0 && index < static_cast<int>(keys.size()) ? root_.Node(keys[index]) : nullptr;
}

int AccessibleScheduleNode::indexOfChild(const QAccessibleInterface* child) const
{
    const std::vector<Key> keys = Children();
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
        if (root_.Node(keys[i]) == child) {
            return i;
        }
    }
    return -1;
}

QAccessible::Role AccessibleScheduleNode::role() const
{
    const bool rows = View().Layout().ganttRows;
    switch (key_.area) {
    case kBar:
        return QAccessible::ToolBar;
    case kButton:
        return QAccessible::Button;
    case kBody:
        return QAccessible::Table;
    case kDay:
        return rows ? QAccessible::Row : QAccessible::Cell;
    case kItem:
        return rows ? QAccessible::Cell : QAccessible::ListItem;
    case kDetail:
        return QAccessible::List;
    case kLine:
        return QAccessible::ListItem;
    }
    return QAccessible::NoRole;
}

QString AccessibleScheduleNode::text(QAccessible::Text t) const
{
    const std::optional<AccessibleItem> item = Item();
    if (t == QAccessible::Description) {
        return item ? Q(AccessibleStateWords(*item)) : QString();
    }
    if (t == QAccessible::Accelerator && key_.area == kButton) {
        return Q(CommandKeyText(ButtonCommand(key_.index)));
    }
    if (t != QAccessible::Name) {
        return {};
    }
    switch (key_.area) {
    case kBar:
        return Q(res::LoadString(res::IDS_A11Y_BUTTON_BAR));
    case kButton:
        return Q(ButtonName(key_.index));
    case kBody:
        return Q(res::LoadString(res::IDS_A11Y_SCHEDULE));
    case kDay:
        return Q(AccessibleDayName(View().Schedule(), key_.day));
    case kDetail:
        return Q(res::LoadString(res::IDS_A11Y_DETAIL));
    default:
        return item ? Q(item->name) : QString();
    }
}

QRect AccessibleScheduleNode::rect() const
{
    const ViewLayout& layout = View().Layout();
    PixelRect r{0, 0, layout.clientWidth, layout.buttonBarHeight};
    const int day = key_.day;
    switch (key_.area) {
    case kButton:
        r = layout.ButtonRect(key_.index);
        break;
    case kBody:
        r = {0, layout.rowsTop, layout.chartRight, layout.chartBottom};
        break;
    case kDay:
    case kItem:
        r = layout.ganttRows ? GanttGeometry(layout).DayRect(day)
                             : CalendarGeometry(layout).CellRect(day);
        break;
    case kDetail:
        r = layout.detailRect;
        break;
    case kLine: {
        const int top =
            layout.detailRect.top + (key_.index - View().DetailScroll()) * layout.detailLineHeight;
        r = {layout.detailRect.left, top, layout.detailRect.right, top + layout.detailLineHeight};
        break;
    }
    default:
        break;
    }
    const QPoint origin = View().mapToGlobal(QPoint(r.left, r.top));
    return {origin, QSize(r.Width(), r.Height())};
}

QAccessible::State AccessibleScheduleNode::state() const
{
    QAccessible::State s;
    const bool leaf =
        key_.area == kButton || key_.area == kDay || key_.area == kItem || key_.area == kLine;
    s.focusable = leaf;
    s.selectable = key_.area != kButton && leaf;
    s.focused = leaf && View().hasFocus() && root_.FocusKey() == key_;
    if (key_.area == kDay) {
        s.selected = key_.day == View().SelectedRow();
    }
    if (const std::optional<AccessibleItem> item = Item()) {
        s.selected = item->selected;
        s.checkable = item->kind == ItemKind::Task;
        s.checked = item->completed;
    }
    s.invisible = !Exists(key_);
    return s;
}

QAccessibleInterface* ScheduleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CTamberloView") && object != nullptr &&
        object->isWidgetType()) {
        return new AccessibleSchedule(static_cast<CTamberloView*>(object));
    }
    return nullptr;
}

} // namespace

void InstallScheduleAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ScheduleFactory);
        return true;
    }();
    (void)installed;
}

AccessibleSchedule::AccessibleSchedule(CTamberloView* view)
    : QAccessibleWidget(view, QAccessible::Client)
{
    followFocus_ = QObject::connect(view, &CTamberloView::CommandStateChanged, view,
                                    [this] { FollowFocus(); });
}

AccessibleSchedule::~AccessibleSchedule()
{
    QObject::disconnect(followFocus_);
    for (const auto& [key, id] : nodes_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

CTamberloView& AccessibleSchedule::View() const
{
    return *static_cast<CTamberloView*>(widget());
}

QAccessibleInterface* AccessibleSchedule::Node(const Key& key) const
{
    const auto found = nodes_.find(key);
    if (found != nodes_.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* node = new AccessibleScheduleNode(*this, key);
    nodes_[key] = QAccessible::registerAccessibleInterface(node);
    return node;
}

int AccessibleSchedule::childCount() const
{
    return View().Layout().detailVisible ? 3 : 2;
}

QAccessibleInterface* AccessibleSchedule::child(int index) const
{
    const Area areas[] = {kBar, kBody, kDetail};
    return index >= 0 && index < childCount() ? Node({areas[index]}) : nullptr;
}

int AccessibleSchedule::indexOfChild(const QAccessibleInterface* child) const
{
    for (int i = 0; i < childCount(); ++i) {
        if (this->child(i) == child) {
            return i;
        }
    }
    return -1;
}

AccessibleSchedule::Key AccessibleSchedule::FocusKey() const
{
    const CTamberloView& view = View();
    const int row = view.SelectedRow();
    const bool rowShown = row >= 0 && row < view.Layout().dayRowCount;
    switch (view.KeyFocusArea()) {
    case keys::kButtonBar:
        return {kButton, -1, view.FocusedButton()};
    case keys::kDetail:
        if (view.Selection().HasItem()) {
            return {kLine, -1, view.Selection().line};
        }
        return {kDetail};
    default:
        break;
    }
    if (!rowShown) {
        return {kBody};
    }
    const std::vector<AccessibleItem> items = ItemsOf(view, row);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (items[i].selected) {
            return {kItem, row, i};
        }
    }
    return {kDay, row};
}

QAccessibleInterface* AccessibleSchedule::focusChild() const
{
    return View().hasFocus() ? Node(FocusKey()) : nullptr;
}

// Only a move of the view's own focus is announced; the desktop already tells of the widget's.
// An item a key moved in time may keep its place and change its name, which is told as well.
void AccessibleSchedule::FollowFocus()
{
    const Key now = FocusKey();
    if (!View().hasFocus()) {
        return;
    }
    QAccessibleInterface* node = Node(now);
    const QString name = node->text(QAccessible::Name);
    const bool moved = lastFocus_ != now;
    if (!moved && name == lastName_) {
        return;
    }
    lastFocus_ = now;
    lastName_ = name;
    QAccessibleEvent event(node, moved ? QAccessible::Focus : QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
