// What the item editors add to the shared editor controls: fixed lists from texts, reading a
// combo's text, the message boxes the editors show, focus watching for duration keeping and the
// tab order of a form.
#pragma once

#include <QComboBox>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "editors/editor_controls.h"

class MessageService;

// A fixed list of texts whose index is the stored value.
QComboBox* NewChoiceCombo(int id, const std::vector<std::wstring>& items);
template <std::size_t N> QComboBox* NewChoiceCombo(int id, const wchar_t* const (&items)[N])
{
    return NewChoiceCombo(id, std::vector<std::wstring>(std::begin(items), std::end(items)));
}
inline std::wstring ComboText(const QComboBox& combo)
{
    return ToWString(combo.currentText());
}

// "Warning" with the exclamation icon, "Error" with the stop icon, and "Confirm" questions
// with OK/Cancel (true on OK).
void ShowWarning(MessageService& messages, int textId);
void ShowError(MessageService& messages, int textId);
bool ConfirmOk(MessageService& messages, int textId);
bool ConfirmOkText(MessageService& messages, const std::wstring& text);

// Tab moves through the controls in this order.
void ChainTabOrder(std::initializer_list<QWidget*> controls);

// Calls `changed(true)` when the widget (or, for an editable combo, its edit field) gains the
// focus and `changed(false)` when it loses it.
void WatchFocus(QWidget& widget, std::function<void(bool)> changed);
