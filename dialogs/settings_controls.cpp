// Shared construction and refusal handling of the settings dialogs.
#include "dialogs/settings_controls.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/settings_checks.h"
#include "model/date_time.h"
#include "platform/message_service.h"
#include "res/string_table.h"

QWidget* FindControl(const QWidget& dialog, int id)
{
    // Named is the one place that knows how an id becomes a name.
    QObject probe;
    return dialog.findChild<QWidget*>(Named(&probe, id)->objectName());
}

QString Text(int stringId)
{
    return ToQString(res::LoadString(stringId));
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

void AddOkCancel(QBoxLayout& layout, QDialog& dialog)
{
    layout.addWidget(NewOkCancel(&dialog));
}

void ShowRefusal(MessageService& messages, const RangeRefusal& refusal, QDialog& dialog)
{
    messages.MessageBox(RefusalText(refusal), res::LoadString(res::IDS_WARNING),
                        MB_OK | MB_ICONEXCLAMATION);
    if (QWidget* field = FindControl(dialog, refusal.field)) {
        field->setFocus();
    }
}

void WriteUntil(const std::vector<FieldWrite>& writes, const std::optional<RangeRefusal>& refusal)
{
    for (const FieldWrite& write : writes) {
        if (refusal && write.field == refusal->field) {
            return;
        }
        write.write();
    }
}
