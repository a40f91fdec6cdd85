// The pieces every editor and settings dialog is built from: control names taken from the
// dialog's control ids, combos filled from an edit list, date pickers with a calendar popup,
// the OK/Cancel row, and the one way a refused field is reported.
#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <initializer_list>
#include <string>

#include "editors/field_rules.h"
#include "platform/systemtime.h"

class AppSettings;
class MessageService;
class QComboBox;
class QDate;
class QDateEdit;
class QDialog;
class QPushButton;
class QWidget;
enum class SettingsList;

// "control1076" for control id 1076: what tests find a control by.
QString ControlName(int id);

// Gives widget the name of control id and returns it, for building forms in one expression.
template <typename Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(ControlName(id));
    return widget;
}

QString ToQString(const std::wstring& text);
std::wstring ToWString(const QString& text);

// Calendar dates and store dates; the time of day is dropped on the way to a QDate.
QDate ToQDate(DATE date);
SYSTEMTIME ToSystemTime(const QDate& date, int hour = 0, int minute = 0);

// An editable combo offering the elements of an edit list, in their order. Enter confirms the
// dialog instead of adding the typed text to the list.
QComboBox* NewEditCombo(int id, const AppSettings& settings, SettingsList list, QWidget* parent);
// An editable time combo offering the "TimeList" entries that are exactly five characters long
// (such as 09:30).
QComboBox* NewTimeCombo(int id, const AppSettings& settings, QWidget* parent);
// A fixed list whose index is the stored value.
QComboBox* NewListCombo(int id, std::initializer_list<const wchar_t*> labels, QWidget* parent);
// A date picker with a calendar popup showing the date as yyyy/MM/dd.
QDateEdit* NewDatePicker(int id, QWidget* parent);
// Shows a stored text in an editable combo whole, however long it is.
void ShowStoredText(QComboBox* combo, const std::wstring& text);
// Shows the time text: selects the list entry that begins with it, else types it.
void SetTimeText(QComboBox* combo, const std::wstring& text);

// A push button that never takes Enter from the dialog's OK.
QPushButton* NewPushButton(int id, const QString& text, QWidget* parent = nullptr);
// A narrow "..." button that opens a chooser, likewise.
QPushButton* NewEllipsisButton(int id, QWidget* parent);

// OK and Cancel wired to accept and reject; OK is the default button, so Enter confirms.
QDialogButtonBox* NewOkCancel(QDialog* dialog);

// Shows the refusal's message under "Warning" and puts the focus back on its control.
void ShowRefusal(QDialog& dialog, MessageService& messages, const Refusal& refusal);
