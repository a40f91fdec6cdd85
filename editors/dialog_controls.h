// Small pieces every editor dialog is built from: text conversion at the Qt edge, controls
// named after their ids, the OK/Cancel row and the message boxes the editors show.
#pragma once

#include <QComboBox>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class MessageService;
class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

inline QString ToQt(const std::wstring& text) { return QString::fromStdWString(text); }
inline std::wstring FromQt(const QString& text) { return text.toStdWString(); }

// Gives a control the object name tests and style sheets find it by: "id" and its number.
template <typename Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

// A combo box offering `items`; editable ones keep whatever text is typed.
QComboBox* MakeCombo(int id, const std::vector<std::wstring>& items, bool editable);
// Selects the first entry that begins with `text`, else puts the text into the edit field.
void SetComboText(QComboBox& combo, const QString& text);

// OK and Cancel (ids 1 and 2) at the end of `layout`; OK is the default button, so Enter acts as
// OK and Escape as Cancel. The dialog's own handlers decide what they do.
QPushButton* AddOkButton(QBoxLayout& layout, QDialog& dialog);

// "Warning" with the exclamation icon, and "Confirm" questions with OK/Cancel (true on OK).
void ShowWarning(MessageService& messages, int textId);
void ShowWarningText(MessageService& messages, const std::wstring& text);
void ShowError(MessageService& messages, int textId);
bool ConfirmOk(MessageService& messages, int textId);
bool ConfirmOkText(MessageService& messages, const std::wstring& text);

class AppSettings;
class QDate;
class QDateEdit;
struct SYSTEMTIME;

// The entries of the "TimeList" edit list that are exactly five characters long ("09:30").
std::vector<std::wstring> TimeChoices(const AppSettings& settings);
// A time combo with edit field over TimeChoices.
QComboBox* MakeTimeCombo(int id, const AppSettings& settings);
inline std::wstring ComboText(const QComboBox& combo) { return FromQt(combo.currentText()); }

// A date picker with a calendar popup, limited to the years 1900..2999.
QDateEdit* MakeDatePicker(int id);
SYSTEMTIME DateOf(const QDateEdit& picker);
void SetDate(QDateEdit& picker, const SYSTEMTIME& day);

// Tab moves through the controls in this order.
void ChainTabOrder(std::initializer_list<QWidget*> controls);

// Calls `changed(true)` when the widget (or, for an editable combo, its edit field) gains the
// focus and `changed(false)` when it loses it.
void WatchFocus(QWidget& widget, std::function<void(bool)> changed);
