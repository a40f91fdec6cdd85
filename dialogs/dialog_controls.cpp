// Shared construction and refusal handling of the settings dialogs.
#include "dialogs/dialog_controls.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/settings_checks.h"
#include "model/date_time.h"
#include "platform/message_service.h"
#include "res/string_table.h"

QString ControlName(int id)
{
    return QString::number(id);
}

QString Text(int stringId)
{
    return Qs(res::LoadString(stringId));
}

QStringList Texts(int firstId, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        texts << Text(firstId + i);
    }
    return texts;
}

QComboBox* MakeDropDown(int id, const QStringList& entries)
{
    auto* list = Named(new QComboBox, id);
    list->addItems(entries);
    list->setCurrentIndex(-1);
    return list;
}

QLineEdit* MakeNumberField(int id, int value)
{
    auto* field = Named(new QLineEdit(QString::number(value)), id);
    field->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    return field;
}

int NumberIn(const QLineEdit* field)
{
    return TextToInt(field->text().toStdWString());
}

QDialogButtonBox* MakeOkCancel(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Named(buttons->button(QDialogButtonBox::Ok), 1)->setDefault(true);
    Named(buttons->button(QDialogButtonBox::Cancel), 2);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

void ShowRefusal(MessageService& messages, const Refusal& refusal, QDialog& dialog)
{
    messages.MessageBox(RefusalText(refusal), res::LoadString(res::IDS_WARNING),
                        MB_OK | MB_ICONEXCLAMATION);
    if (auto* field = dialog.findChild<QWidget*>(ControlName(refusal.field))) {
        field->setFocus();
    }
}

void WriteUntil(const std::vector<FieldWrite>& writes, const std::optional<Refusal>& refusal)
{
    for (const FieldWrite& write : writes) {
        if (refusal && write.field == refusal->field) {
            return;
        }
        write.write();
    }
}
