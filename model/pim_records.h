// Appointment and task records as the program sees them: counted handles to live store items,
// the value lists of their enumerated fields, and the copy and shift operations that paste,
// drag and the editors share. Properties are read and written on the store item itself.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/pim/appointment_item.h"
#include "platform/pim/task_item.h"
#include "platform/systemtime.h"

using AppointItem = std::shared_ptr<pim::AppointmentItem>;
using TaskItem = std::shared_ptr<pim::TaskItem>;

// Value lists: the number is the stored value and the editor's combo box index, the text its
// label.
enum BusyStatusValue : int32_t { kBusyFree, kBusyTentative, kBusyBusy, kBusyOutOfOffice };
inline constexpr const wchar_t* kBusyStatusLabels[] = {L"Free", L"Tentative", L"Busy",
                                                       L"OutOfOffice"};
enum SensitivityValue : int32_t {
    kSensitivityNormal,
    kSensitivityPersonal,
    kSensitivityPrivate,
    kSensitivityConfidential
};
inline constexpr const wchar_t* kSensitivityLabels[] = {L"Normal", L"Personal", L"Private",
                                                        L"Confidential"};
enum ImportanceValue : int32_t { kImportanceLow, kImportanceNormal, kImportanceHigh };
inline constexpr const wchar_t* kImportanceLabels[] = {L"Low", L"Normal", L"High"};
inline constexpr const wchar_t* kCompleteLabels[] = {L"OnWork", L"Complete"};
inline constexpr const wchar_t* kAllDayLabels[] = {L"Normal", L"AllDay"};
inline constexpr const wchar_t* kRecurrenceChoiceLabels[] = {L"OneTime", L"Recurring"};
inline constexpr const wchar_t* kReminderSetLabels[] = {L"Off", L"On"};

// ReminderOptions bits; the labels follow the bits, lowest first.
enum ReminderOptionBit : int32_t {
    kReminderLed = 1,
    kReminderVibrate = 2,
    kReminderDialog = 4,
    kReminderSound = 8,
    kReminderRepeat = 16
};
inline constexpr const wchar_t* kReminderOptionLabels[] = {L"LED", L"Vibrate", L"Dialog", L"Sound",
                                                           L"Recur"};

// A task's StartDate or DueDate is "no date" when its year lies outside 1900..4000.
bool IsTaskDate(DATE date);

// A task's ReminderTime counts only strictly between 0.0 and 900000.0.
bool IsReminderTimeSet(DATE reminderTime);
