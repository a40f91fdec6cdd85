// Each row holds its calendar's id, so a tick names the calendar whatever the rows' order.
#include "view/calendars_dock.h"

#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <algorithm>

#include "res/string_table.h"
#include "view/calendar_mark.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

QString Text(int id)
{
    return QString::fromStdWString(res::LoadString(id));
}

std::vector<int32_t> ListedIds(const QListWidget& list)
{
    std::vector<int32_t> ids;
    ids.reserve(list.count());

    for (int row = 0; row < list.count(); ++row) {
        ids.push_back(list.item(row)->data(kIdRole).toInt());
    }
    return ids;
}

} // namespace

CalendarsDock::CalendarsDock(Toggle toggle, QWidget* parent)
    : QDockWidget(Text(res::IDS_CALENDARS_TITLE), parent), toggle_(std::move(toggle)),
      list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("calendarsDock"));
    list_->setObjectName(QStringLiteral("calendarsList"));
    list_->setToolTip(Text(res::IDS_CALENDAR_ITEM_TIP));
    setWidget(list_);
    connect(list_, &QListWidget::itemChanged, this, &CalendarsDock::Ticked);
}

void CalendarsDock::FillRow(QListWidgetItem& row, const pim::Calendar& calendar) const
{
    const int side = std::max(8, list_->fontMetrics().height() * 2 / 3);
    QPixmap swatch(side, side);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    DrawCalendarSwatch(painter, {0, 0, side, side}, calendar.colour);
    painter.end();
    row.setIcon(QIcon(swatch));
    row.setText(QString::fromStdWString(calendar.name));
    row.setData(kIdRole, calendar.id);
    row.setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    row.setCheckState(calendar.shown ? Qt::Checked : Qt::Unchecked);
}

void CalendarsDock::ShowCalendars(const std::vector<pim::Calendar>& calendars)
{
    std::vector<int32_t> ids;
    ids.reserve(calendars.size());

    for (const pim::Calendar& calendar : calendars) {
        ids.push_back(calendar.id);
    }
    const QSignalBlocker quiet(list_);
    if (ids != ListedIds(*list_)) {
        list_->clear();
        for (size_t i = 0; i < calendars.size(); ++i) {
            list_->addItem(new QListWidgetItem);
        }
        list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
    }
    for (size_t i = 0; i < calendars.size(); ++i) {
        FillRow(*list_->item(static_cast<int>(i)), calendars[i]);
    }
}

void CalendarsDock::ShowOrHide()
{
    if (isVisible() && list_->hasFocus()) {
        hide();
        return;
    }
    show();
    raise();
    if (auto* window = qobject_cast<QMainWindow*>(parentWidget())) {
        window->resizeDocks({this}, {PreferredWidth()}, Qt::Horizontal);
    }
    list_->setFocus();
}

int CalendarsDock::PreferredWidth() const
{
    constexpr int kNarrowest = 140;
    constexpr int kWidest = 280;
    const QFontMetrics metrics = list_->fontMetrics();
    int widest = metrics.horizontalAdvance(windowTitle());
    for (int row = 0; row < list_->count(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(list_->item(row)->text()));
    }
    const int box = list_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list_);
    const int margins = 6 * metrics.horizontalAdvance(QLatin1Char(' '));
    return std::clamp(widest + box + list_->iconSize().width() + metrics.height() + margins,
                      kNarrowest, kWidest);
}

void CalendarsDock::Ticked(QListWidgetItem* row)
{
    if (row != nullptr && toggle_) {
        toggle_(row->data(kIdRole).toInt(), row->checkState() == Qt::Checked);
    }
}
