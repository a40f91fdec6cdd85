// The pieces the settings dialogs add to the editors' dialog controls: string-table texts,
// drop-down lists and number fields read as the program reads numbers, the OK/Cancel row wired
// to the dialog's checking accept(), and the warning that refuses a field and focuses it again.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editors/dialog_controls.h"
#include "editors/editor_controls.h"

class MessageService;
class QBoxLayout;
class QComboBox;
class QDialog;
class QLineEdit;
class QWidget;
struct RangeRefusal;

// The control of `id` inside `dialog`, found by the name Named gave it; null when there is none.
QWidget* FindControl(const QWidget& dialog, int id);

QString Text(int stringId);
// The texts of consecutive string ids first .. first + count - 1.
QStringList Texts(int firstId, int count);

// A drop-down list (no edit field) with `entries`, nothing selected.
QComboBox* MakeDropDown(int id, const QStringList& entries);
// A one-line field for a whole number, showing `value` as "%d".
QLineEdit* MakeNumberField(int id, int value);
// The field's number as the program reads one: leading digits, 0 when there are none.
int NumberIn(const QLineEdit* field);

// OK and Cancel at the end of `layout`; OK runs the dialog's accept(), which checks first.
void AddOkCancel(QBoxLayout& layout, QDialog& dialog);

// "Warning" with the refusal's text, then the focus back to the refused field.
void ShowRefusal(MessageService& messages, const RangeRefusal& refusal, QDialog& dialog);

// One setting written from one field, in the order the OK handler writes them.
struct FieldWrite {
    int field;
    std::function<void()> write;
};
// Writes every setting that comes before the refused field (all of them without a refusal):
// what an OK stored before it refused a field stays stored.
void WriteUntil(const std::vector<FieldWrite>& writes, const std::optional<RangeRefusal>& refusal);
