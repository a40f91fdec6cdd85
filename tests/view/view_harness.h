// The view widget over a hand-filled schedule that counts reloads, with a fixed clock.
#pragma once

#include <QImage>
#include <QPainter>

#include "fake_day_entries.h"
#include "platform/clock.h"
#include "view/memory_settings_store.h"
#include "view/schedule_source.h"
#include "view/tamberlo_view.h"

class FakeSchedule : public FakeEntries<ScheduleSource> {
public:
    bool SetShownStart(const SYSTEMTIME& first) override
    {
        shownStart = first;
        return inLoadedWindow;
    }
    void Reload() override { ++reloads; }
    void SetShownDayCount(int count) override { dayCount = count; }
    std::wstring ApptOid(int r, int p) const override { return L"A" + Key(r, p); }
    int ApptStoreIndex(int r, int p) const override { return DayKind(r, p) != 0 ? -1 : p + 1; }
    int ApptExceptionNo(int /*row*/, int /*pos*/) const override { return 0; }
    std::wstring TaskOid(int r, int p) const override { return L"T" + Key(r, p); }
    int TaskStoreIndex(int /*row*/, int p) const override { return p + 1; }
    static std::wstring Key(int r, int p) { return std::to_wstring(r) + L"." + std::to_wstring(p); }
    int reloads = 0;
    int dayCount = -1;
    bool inLoadedWindow = true; // false: every move or longer period reads the items again
};

struct ViewHarness {
    explicit ViewHarness(const ViewSettings& settings = {},
                         SYSTEMTIME now = MakeSystemTime(2026, 12, 9, 10, 30))
        : clock(now), scoped(clock), store(settings), view(schedule, store)
    {
        schedule.shownStart = MakeSystemTime(2026, 12, 7);
        view.Texts().SetRecorder([this](const DrawnText& t) { texts.push_back(t.text); });
    }
    QImage Render(int width, int height, QRect dirty = {})
    {
        QImage image(std::min(width, 1280), std::min(height, 800), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        view.LayOut(QSize(width, height));
        view.Render(painter, dirty.isNull() ? image.rect() : dirty);
        return image;
    }
    FixedClock clock;
    ScopedClock scoped;
    FakeSchedule schedule;
    MemorySettingsStore store;
    CTamberloView view;
    std::vector<std::wstring> texts;
};
