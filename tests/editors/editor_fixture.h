// A real store in a temporary folder, the document over it, the change path, scripted message
// boxes and dialogs, and helpers that drive dialog controls by their ids. "Now" is Monday
// 7 December 2026, 15:30, and that day is the first shown day (row 0).
#pragma once

#include <gtest/gtest.h>

#include "editors/editor_services.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "settings/app_settings_document.h"
#include "tests/editors/dialog_driving.h"
#include "tests/support/temp_paths.h"

class EditorFixture : public DialogTest {
protected:
    EditorFixture()
        : useClock_(clock_), session_(paths_.StorePath(), OccurrenceOnDay),
          documentSettings_(settings_), doc_(session_, documentSettings_),
          edits_(doc_, session_), services_{settings_, messages_, dialogs_, edits_, nullptr}
    {
    }

    // Queues a dialog step; `drive` sees the dialog, and the step answers with its result.
    template <typename Dialog> void Queue(std::function<void(Dialog&)> drive)
    {
        dialogs_.Queue([drive](QDialog& dialog) {
            auto* typed = dynamic_cast<Dialog*>(&dialog);
            EXPECT_NE(typed, nullptr) << "another dialog than expected";
            if (typed)
                drive(*typed);
            return dialog.result();
        });
    }

    FixedClock clock_{MakeSystemTime(2026, 12, 7, 15, 30)};
    ScopedClock useClock_;
    TempPaths paths_;
    PimSession session_;
    AppSettingsDocument documentSettings_;
    CTamberloDoc doc_;
    ScheduleEdits edits_;
    ScriptedDialogRunner dialogs_;
    EditorServices services_;
};
