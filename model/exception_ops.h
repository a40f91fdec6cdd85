// The two edits that need the store's pattern and exception objects rather than plain values:
// cancelling exceptions of a recurring appointment and completing a task.
#pragma once

#include <cstdint>
#include <string>

#include "model/pim_records.h"

// Cancels exception n (from 1) of the appointment, or all of them with n = -1. The store cannot
// drop one exception, so the pattern is rebuilt and the other exceptions are replayed. Results:
// "0" no exception list, "1" no such exception, "9999" no new pattern, "AllClear", "Fin".
// notReplayed, when given, receives the number of other exceptions whose occurrence could not
// be obtained or written again. The caller saves the appointment and reloads.
std::wstring CancelException(pim::AppointmentItem& appointment, int32_t n,
                             int* notReplayed = nullptr);

// Completes a task: a recurring one moves on to its next occurrence (pattern start, start date
// and due date, keeping the span) unless keepSimple is set or the pattern has ended; anything
// else is marked complete. The caller saves.
void CompleteTask(pim::TaskItem& task, bool keepSimple);
