// The shared construction and message helpers of the editor dialogs.
#include "editors/dialog_controls.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/message_service.h"
#include "platform/systemtime.h"
#include "res/string_table.h"
#include "settings/edit_lists.h"

QComboBox* MakeCombo(int id, const std::vector<std::wstring>& items, bool editable)
{
    auto* combo = Named(new QComboBox, id);
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::wstring& item : items)
        combo->addItem(ToQt(item));
    return combo;
}

void SetComboText(QComboBox& combo, const QString& text)
{
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemText(i).startsWith(text)) {
            combo.setCurrentIndex(i);
            return;
        }
    }
    combo.setCurrentIndex(-1);
    combo.setEditText(text);
}

QPushButton* AddOkButton(QBoxLayout& layout, QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = Named(buttons->button(QDialogButtonBox::Ok), 1);
    Named(buttons->button(QDialogButtonBox::Cancel), 2);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return ok;
}

void ShowWarning(MessageService& messages, int textId)
{
    ShowWarningText(messages, res::LoadString(textId));
}

void ShowWarningText(MessageService& messages, const std::wstring& text)
{
    messages.MessageBox(text, res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
}

void ShowError(MessageService& messages, int textId)
{
    messages.MessageBox(res::LoadString(textId), res::LoadString(res::IDS_ERROR),
                        MB_OK | MB_ICONSTOP);
}

bool ConfirmOk(MessageService& messages, int textId)
{
    return ConfirmOkText(messages, res::LoadString(textId));
}

bool ConfirmOkText(MessageService& messages, const std::wstring& text)
{
    return messages.MessageBox(text, res::LoadString(res::IDS_CONFIRM),
                               MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

namespace {

class FocusWatcher : public QObject {
public:
    FocusWatcher(QObject* parent, std::function<void(bool)> changed)
        : QObject(parent), changed_(std::move(changed))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            changed_(event->type() == QEvent::FocusIn);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(bool)> changed_;
};

}  // namespace

std::vector<std::wstring> TimeChoices(const AppSettings& settings)
{
    std::vector<std::wstring> choices;
    for (const std::wstring& item : EditListItems(settings, EditList::TimeList))
        if (item.size() == 5)
            choices.push_back(item);
    return choices;
}

QComboBox* MakeTimeCombo(int id, const AppSettings& settings)
{
    QComboBox* combo = MakeCombo(id, TimeChoices(settings), true);
    combo->setMinimumContentsLength(5);
    return combo;
}

QDateEdit* MakeDatePicker(int id)
{
    auto* picker = Named(new QDateEdit, id);
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(1900, 1, 1), QDate(2999, 12, 31));
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    return picker;
}

SYSTEMTIME DateOf(const QDateEdit& picker)
{
    const QDate d = picker.date();
    return MakeSystemTime(d.year(), d.month(), d.day());
}

void SetDate(QDateEdit& picker, const SYSTEMTIME& day)
{
    picker.setDate(QDate(day.wYear, day.wMonth, day.wDay));
}

void WatchFocus(QWidget& widget, std::function<void(bool)> changed)
{
    auto* watcher = new FocusWatcher(&widget, std::move(changed));
    // Which of the two receives the focus events depends on the control's focus proxy; the
    // handlers are harmless when called twice.
    widget.installEventFilter(watcher);
    auto* combo = qobject_cast<QComboBox*>(&widget);
    if (combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(watcher);
}

void ChainTabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}
