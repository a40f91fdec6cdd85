// The item editors' own construction and message helpers.
#include "editors/dialog_controls.h"

#include <QEvent>
#include <QLineEdit>

#include "platform/message_service.h"
#include "res/string_table.h"

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
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            changed_(event->type() == QEvent::FocusIn);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(bool)> changed_;
};

} // namespace

QComboBox* NewChoiceCombo(int id, const std::vector<std::wstring>& items)
{
    auto* combo = Named(new QComboBox, id);
    for (const std::wstring& item : items) {
        combo->addItem(ToQString(item));
    }
    return combo;
}

void ShowWarning(MessageService& messages, int textId)
{
    messages.MessageBox(res::LoadString(textId), res::LoadString(res::IDS_WARNING),
                        MB_OK | MB_ICONEXCLAMATION);
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

void ChainTabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void WatchFocus(QWidget& widget, std::function<void(bool)> changed)
{
    auto* watcher = new FocusWatcher(&widget, std::move(changed));
    // Which of the two receives the focus events depends on the control's focus proxy; the
    // handlers are harmless when called twice.
    widget.installEventFilter(watcher);
    auto* combo = qobject_cast<QComboBox*>(&widget);
    if (combo != nullptr && combo->lineEdit() != nullptr) {
        combo->lineEdit()->installEventFilter(watcher);
    }
}
