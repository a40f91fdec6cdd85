// The pieces every settings dialog is built from: controls named after their control ids, the
// OK/Cancel row, string-table texts, number fields read as the program reads numbers, and the
// warning that refuses a field and gives it the focus back.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class MessageService;
class QComboBox;
class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QWidget;
struct Refusal;

// The objectName of control `id`, by which tests and the tab order find it.
QString ControlName(int id);

template <typename Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(ControlName(id));
    return widget;
}

QString Text(int stringId);
inline QString Qs(const std::wstring& text) { return QString::fromStdWString(text); }
// The texts of consecutive string ids first .. first + count - 1.
QStringList Texts(int firstId, int count);

// A drop-down list (no edit field) with `entries`, nothing selected.
QComboBox* MakeDropDown(int id, const QStringList& entries);
// A one-line field for a whole number, showing `value` as "%d".
QLineEdit* MakeNumberField(int id, int value);
// The field's number as the program reads one: leading digits, 0 when there are none.
int NumberIn(const QLineEdit* field);

// OK (the default button, so Enter confirms) and Cancel wired to the dialog's accept and reject.
QDialogButtonBox* MakeOkCancel(QDialog& dialog);

// "Warning" with the refusal's text, then the focus back to the refused field.
void ShowRefusal(MessageService& messages, const Refusal& refusal, QDialog& dialog);

// One setting written from one field, in the order the OK handler writes them.
struct FieldWrite {
    int field;
    std::function<void()> write;
};
// Writes every setting that comes before the refused field (all of them without a refusal):
// what an OK stored before it refused a field stays stored.
void WriteUntil(const std::vector<FieldWrite>& writes, const std::optional<Refusal>& refusal);
