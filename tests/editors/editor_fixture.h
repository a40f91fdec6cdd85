// Driving the item editors by their controls' ids, over settings and scripted message boxes
// (DialogTest), and over a real store in a temporary folder with the document, the change path
// and scripted dialogs (EditorFixture). "Now" is Monday 7 December 2026, 15:30, the first shown
// day.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <gtest/gtest.h>

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

// Settings whose first shown day is today and whose time list holds two usable entries and one
// that the time combos leave out, and the scripted message boxes.
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

    // The store fails under an open editor of `item`. Another writer holds it at OK past the
    // wait: the store's own warning, the dialog stays open with what was typed, and a second
    // OK saves. Then another process deletes everything: reported and reloaded.
    template <typename Dialog>
    void ExpectStoreFailuresKeepTheTyping(ItemRef item, int titleId,
                                          const std::function<Redraw()>& edit)
    {
        Queue<Dialog>([&](Dialog& d) {
            Type(d, titleId, QStringLiteral("Typed"));
            Elsewhere("BEGIN IMMEDIATE");
            Click(d, 1);
            Elsewhere("ROLLBACK");
            EXPECT_EQ(LastMessage(), L"The calendar store " +
                                         QString::fromStdString(paths_.StorePath()).toStdWString() +
                                         L" is in use by another program; try again.");
            EXPECT_NE(d.result(), QDialog::Accepted);
            EXPECT_EQ(Text(d, titleId), QStringLiteral("Typed"));
            Click(d, 1);
        });
        EXPECT_EQ(edit(), Redraw::kInPlace);
        EXPECT_EQ(edits_.Read(item).values.fields.Subject, L"Typed");

        Queue<Dialog>([&](Dialog& d) {
            Elsewhere("DELETE FROM items");
            Type(d, titleId, QStringLiteral("Resurrected?"));
            Click(d, 1);
            EXPECT_EQ(LastMessage(), L"Fail at get data.");
        });
        EXPECT_EQ(edit(), Redraw::kReloaded); // not recreated: the change path's own test
    }

    // Another process changes `item` under an open editor. At OK a Confirm box names it: Cancel
    // takes that change (the editor opens again on it, with what was typed still typed), OK
    // overwrites it.
    template <typename Dialog>
    void ExpectOtherChangesAreNeverLost(ItemRef item, int titleId,
                                        const std::function<Redraw()>& edit)
    {
        // Merged, the editor shows the user's title over theirs, and asks again at each OK
        // while saving would write over that change; their other change stays.
        const std::vector<std::wstring> named{L"Save Mine Over It", L"Merge and Edit Again"};
        for (int answer : {IDCANCEL, IDCANCEL, IDOK}) {
            messages_.QueueAnswer(answer);
        }
        Queue<Dialog>([&](Dialog& d) {
            Type(d, titleId, QStringLiteral("Mine"));
            Elsewhere("UPDATE items SET subject = 'Theirs', categories = 'Far'");
            Click(d, 1);
            EXPECT_EQ(messages_.shown().back().buttons, named);
            EXPECT_EQ(LastMessage().substr(0, 60),
                      L"\"Theirs\" was changed by another program while you edited it.");
        });
        for (int round = 0; round < 2; ++round) {
            Queue<Dialog>([&](Dialog& d) {
                EXPECT_EQ(Text(d, titleId), QStringLiteral("Mine"));
                Click(d, 1);
            });
        }
        const size_t asked = messages_.shown().size();
        EXPECT_EQ(edit(), Redraw::kReloaded);
        EXPECT_EQ(messages_.shown().size(), asked + 3);
        const ItemValues stored = edits_.Read(item).values;
        EXPECT_EQ(stored.fields.Subject + L"/" + stored.fields.Categories, L"Mine/Far");
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
