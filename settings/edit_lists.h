// The six edit lists behind the editors' combo boxes, in the order the environment dialog names
// them, and the two conversions that dialog uses to edit a list as one line per element.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/app_settings.h"

// In the environment dialog's order; the index selects the list and its name (string 65113 + i).
enum class EditList { AppointTitle, AppointPlace, TaskTitle, Category, TimeList, AlarmTimeList };
constexpr int kEditListCount = 6;

// The settings list holding an edit list.
SettingsList ListOf(EditList list);
// Elements 0 .. count - 1 in the order the user gave them, as the combo boxes are filled.
std::vector<std::wstring> EditListItems(const AppSettings& settings, EditList list);

// Every element followed by CR LF.
std::wstring ListToLines(const AppSettings& settings, EditList list);
// Replaces the list by the non-empty lines of text (split at CR LF; a last line without a line
// break counts), each taken unchanged, blanks included. Count and text change together.
void ReplaceListFromLines(AppSettings& settings, EditList list, const std::wstring& text);
