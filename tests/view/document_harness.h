// The real view over a real store and document, boxes and menus scripted, sweeps recorded.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QtTest/QTest>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/schedule_edits.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/document_changes.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"
#include "view/document_schedule.h"
#include "view/gantt_geometry.h"
#include "view/memory_settings_store.h"
#include "view/tamberlo_view.h"

inline DATE At(int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, hour, minute));
}

inline ViewSettings Settings()
{
    ViewSettings s;
    s.InfoAreaFixBottom = true;
    s.DefaultStartHour = 8;
    s.TaskAreaWidth = 96;
    return s;
}

struct DocumentHarness {
    explicit DocumentHarness(const ViewSettings& settings = Settings())
        : scoped(clock), session(paths.StorePath(), OccurrenceOnDay), doc(session, docSettings),
          schedule(doc), store(settings), edits(doc, session), view(schedule, store)
    {
        const auto sweep = [this](DATE a, DATE b) {
            swept = {a, b};
            return Redraw::kNothing;
        };
        view.Editing().SetServices({&edits, &messages, sweep, sweep});
        view.Editing().SetMenuRunner([this](const QPoint&) { return menuChoice; });
        view.resize(900, 600);
        view.show();
        view.grab(); // lays out and paints once
        QApplication::clipboard()->clear();
    }
    int32_t Add(ItemValues values, pim::ItemKind kind = pim::kAppointmentKind)
    {
        const int32_t oid = AddThrough(edits, std::move(values), kind);
        view.OnUpdate();
        return oid;
    }
    int32_t AddAppointment(int day, int hour, const std::wstring& subject = L"Meeting")
    {
        return Add(AppointmentValues(subject, At(day, hour), At(day, hour + 1)));
    }
    pim::ItemFields Stored(int32_t oid, pim::ItemKind kind = pim::kAppointmentKind)
    {
        return edits.Read({kind, oid}).values.fields;
    }
    int AppointmentCount()
    {
        session.Connect();
        const int count = session.AppointmentCount();
        session.Disconnect();
        return count;
    }
    // A point in day row `row` at `minutes` of the day, or in the task column without them.
    QPoint Point(int row, int minutes = -1) const
    {
        const ViewLayout& l = view.Layout();
        return {minutes < 0 ? l.dateColumnWidth + l.taskAreaWidth / 2
                            : GanttGeometry(l).XOfMinute(minutes) + 1,
                l.rowsTop + l.dayRowHeight * row + l.dayRowHeight / 2};
    }
    // On the label (icon and name) of an all-day bar that starts before the shown hours.
    QPoint Label(int row) const { return Point(row, view.Layout().firstHour * 60) + QPoint(4, 0); }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(&view, Qt::LeftButton, {}, from);
        QTest::mouseMove(&view, (from + to) / 2);
        QTest::mouseMove(&view, to);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, to);
    }
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(&view, b, {}, p); }
    // Selects the day or item at `at`, then runs the command.
    void Run(QPoint at, int id) { Click(at), view.Commands().Execute(id); }
    FixedClock clock{MakeSystemTime(2026, 12, 7, 8, 0)};
    ScopedClock scoped;
    TempPaths paths;
    StubSettings docSettings;
    PimSession session;
    CTamberloDoc doc;
    DocumentSchedule schedule;
    MemorySettingsStore store;
    ScheduleEdits edits;
    ScriptedMessageService messages;
    CTamberloView view;
    std::optional<std::pair<DATE, DATE>> swept;
    int menuChoice = 0;
};
