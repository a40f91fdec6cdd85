// Building blocks of the editor dialogs.
#include "editors/editor_controls.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "model/date_time.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

QString ControlName(int id)
{
    return QStringLiteral("control%1").arg(id);
}

QString ToQString(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::wstring ToWString(const QString& text)
{
    return text.toStdWString();
}

QDate ToQDate(DATE date)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(date);
    return QDate(st.wYear, st.wMonth, st.wDay);
}

SYSTEMTIME ToSystemTime(const QDate& date, int hour, int minute)
{
    return MakeSystemTime(date.year(), date.month(), date.day(), hour, minute);
}

QComboBox* NewEditCombo(int id, const AppSettings& settings, SettingsList list, QWidget* parent)
{
    auto* combo = Named(new QComboBox(parent), id);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i < settings.GetListCount(list); ++i) {
        combo->addItem(ToQString(settings.GetListItem(list, i)));
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    return combo;
}

QComboBox* NewTimeCombo(int id, const AppSettings& settings, QWidget* parent)
{
    auto* combo = NewEditCombo(id, settings, SettingsList::SelMinuteInfo, parent);
    for (int i = combo->count() - 1; i >= 0; --i) {
        if (combo->itemText(i).size() != 5) {
            combo->removeItem(i);
        }
    }
    combo->setCurrentIndex(-1);
    return combo;
}

QComboBox* NewListCombo(int id, std::initializer_list<const wchar_t*> labels, QWidget* parent)
{
    auto* combo = Named(new QComboBox(parent), id);
    for (const wchar_t* label : labels) {
        combo->addItem(QString::fromWCharArray(label));
    }
    return combo;
}

QDateEdit* NewDatePicker(int id, QWidget* parent)
{
    auto* picker = Named(new QDateEdit(parent), id);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    return picker;
}

void ShowStoredText(QComboBox* combo, const std::wstring& text)
{
    QLineEdit* edit = combo->lineEdit();
    edit->setMaxLength(std::max(edit->maxLength(), static_cast<int>(text.size())));
    combo->setEditText(ToQString(text));
}

void SetTimeText(QComboBox* combo, const std::wstring& text)
{
    const QString wanted = ToQString(text);
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(wanted)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(wanted);
}

QPushButton* NewPushButton(int id, const QString& text, QWidget* parent)
{
    auto* button = Named(new QPushButton(text, parent), id);
    button->setAutoDefault(false);
    return button;
}

QPushButton* NewEllipsisButton(int id, QWidget* parent)
{
    QPushButton* button = NewPushButton(id, QStringLiteral("..."), parent);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return button;
}

QDialogButtonBox* NewOkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ControlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ControlName(2));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void ShowRefusal(QDialog& dialog, MessageService& messages, const Refusal& refusal)
{
    messages.MessageBox(res::LoadString(refusal.messageId), res::LoadString(res::IDS_WARNING),
                        MB_OK | MB_ICONEXCLAMATION);
    if (auto* control = dialog.findChild<QWidget*>(ControlName(refusal.controlId))) {
        control->setFocus(Qt::OtherFocusReason);
    }
}
