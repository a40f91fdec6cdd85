// The field reads the calendars once, when the editor opens: a calendar added meanwhile shows
// at the next open, and one that went away is refused by the store's own check at OK.
#include "editors/calendar_field.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "editors/editor_controls.h"
#include "editors/editor_services.h"
#include "platform/color_ref.h"
#include "settings/app_settings.h"

QIcon CalendarIcon(uint32_t colour)
{
    QPixmap square(14, 14);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(ColorFromRef(colour));
    painter.drawRect(1, 1, 11, 11);
    return QIcon(square);
}

std::vector<pim::Calendar> OfferedCalendars(const std::vector<pim::Calendar>& all,
                                            pim::ItemKind kind, int32_t current)
{
    std::vector<pim::Calendar> offered;
    for (const pim::Calendar& c : all) {
        const bool holds = kind == pim::kTaskKind ? c.tasks : c.events;
        if (c.id == current || (!c.readOnly && holds)) {
            offered.push_back(c);
        }
    }
    return offered;
}

int32_t StartingCalendar(const std::vector<pim::Calendar>& offered, int32_t lastChosen)
{
    if (offered.empty()) {
        return 0;
    }
    const auto has = [&](auto&& match) {
        return std::find_if(offered.begin(), offered.end(), match);
    };
    if (const auto last = has([&](const pim::Calendar& c) { return c.id == lastChosen; });
        last != offered.end()) {
        return last->id;
    }
    const auto local =
        has([](const pim::Calendar& c) { return c.kind == pim::CalendarKind::Local; });
    return local != offered.end() ? local->id : offered.front().id;
}

CalendarField::CalendarField(EditorServices& services, pim::ItemKind kind, ItemValues& values,
                             bool occurrence)
    : settings_(services.settings), combo_(Named(new QComboBox, kCalendarControl)),
      opened_(values.calendar), isNew_(values.calendar == 0)
{
    const std::vector<pim::Calendar> all = services.edits.Calendars();
    const std::vector<pim::Calendar> offered = OfferedCalendars(all, kind, values.calendar);
    if (isNew_) {
        values.calendar = StartingCalendar(offered, services.settings.GetLastCalendar());
    }
    for (const pim::Calendar& c : offered) {
        combo_->addItem(CalendarIcon(c.colour), ToQString(c.name), c.id);
        if (c.id == values.calendar) {
            combo_->setCurrentIndex(combo_->count() - 1);
            if (c.readOnly) {
                readOnly_ = pim::ReadOnlySentence(c);
            }
        }
    }
    combo_->setEnabled(!occurrence && readOnly_.empty());
}

int32_t CalendarField::Chosen() const
{
    return combo_->currentIndex() < 0 ? opened_ : combo_->currentData().toInt();
}

void CalendarField::LockIfReadOnly(QDialog& editor, QWidget* memo) const
{
    if (readOnly_.empty()) {
        return;
    }
    for (QWidget* control : editor.findChildren<QWidget*>()) {
        const bool input = qobject_cast<QComboBox*>(control) != nullptr ||
                           qobject_cast<QDateEdit*>(control) != nullptr ||
                           qobject_cast<QAbstractButton*>(control) != nullptr;
        if (input && control != memo) {
            control->setEnabled(false);
        }
    }
    if (auto* buttons = editor.findChild<QDialogButtonBox*>()) {
        if (QAbstractButton* cancel = buttons->button(QDialogButtonBox::Cancel)) {
            cancel->setEnabled(true);
        }
    }
    auto* note = new QLabel(ToQString(readOnly_));
    note->setObjectName(QStringLiteral("readOnlyNote"));
    note->setWordWrap(true);
    if (auto* layout = qobject_cast<QBoxLayout*>(editor.layout())) {
        layout->insertWidget(0, note);
    }
}

EditStatus CalendarField::Commit(ItemValues edited,
                                 const std::function<EditStatus(const ItemValues&)>& save) const
{
    const int32_t chosen = Chosen();
    edited.calendar = chosen;
    const EditStatus status = save(edited);
    if (status == EditStatus::kDone && chosen != 0 && (isNew_ || chosen != opened_)) {
        settings_.SetLastCalendar(chosen);
    }
    return status;
}
