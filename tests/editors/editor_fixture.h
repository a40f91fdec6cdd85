// The editors driven by control ids over scripted message boxes and dialogs. Now: 7 Dec 15:30.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>

#include <memory>

#include "editors/editor_services.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "tests/support/dialog_controls.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

// Today shown first; the time list holds two usable entries and one the time combos leave out.
class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        settings_.SetCntFromToday(0);
        settings_.SetList(SettingsList::SelMinuteInfo, L"09:00\u001f09:30\u001f9:5\u001f", 3);
    }
    // A day of December 2026 at a time of day.
    static DATE At(int day, int hour = 0, int minute = 0)
    {
        return SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, hour, minute));
    }
    static void Click(QDialog& d, int id) { Control<QAbstractButton>(d, id)->click(); }
    static void Type(QDialog& d, int id, const QString& text)
    {
        Control<QComboBox>(d, id)->setEditText(text);
    }
    static QString Text(QDialog& d, int id) { return Control<QComboBox>(d, id)->currentText(); }
    const std::wstring& LastMessage() const { return messages_.shown().back().text; }

    AppSettings settings_;
    ScriptedMessageService messages_;
};

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
            if (typed) {
                drive(*typed);
            }
            return dialog.result();
        });
    }

    // Runs SQL on the store as another process would, behind the session's back.
    void Elsewhere(const char* sql)
    {
        if (!other_) {
            other_ = std::make_unique<OtherProgram>(paths_.StorePath());
        }
        other_->Run(sql);
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
    std::unique_ptr<OtherProgram> other_;
};
