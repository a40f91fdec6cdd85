// A page is laid out as a window of the page's size without its detail area, with the hours
// fitted to the width; the band where the window has its picture buttons carries the page's
// header. The painters read the page's days through an adapter that starts at its first day.
#include "view/schedule_print.h"

#include <QFile>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "model/date_time.h"
#include "res/string_table.h"
#include "view/calendar_painter.h"
#include "view/gantt_painter.h"
#include "view/paint_primitives.h"
#include "view/task_detail_painter.h"
#include "view/text_sink.h"
#include "view/view_resources.h"

namespace {

// The period's days from `offset` on, as rows 0...
class PageEntries final : public DayEntries {
public:
    PageEntries(const DayEntries& all, int offset) : all_(all), offset_(offset) {}

    SYSTEMTIME GetShownStart() const override { return AddDays(all_.GetShownStart(), offset_); }
    int ApptCount(int row) const override { return all_.ApptCount(row + offset_); }
    int StartMinutes(int r, int p) const override { return all_.StartMinutes(r + offset_, p); }
    int EndMinutes(int r, int p) const override { return all_.EndMinutes(r + offset_, p); }
    std::wstring StartText(int r, int p) const override { return all_.StartText(r + offset_, p); }
    std::wstring EndText(int r, int p) const override { return all_.EndText(r + offset_, p); }
    std::wstring ApptSubject(int r, int p) const override
    {
        return all_.ApptSubject(r + offset_, p);
    }
    std::wstring ApptCategories(int r, int p) const override
    {
        return all_.ApptCategories(r + offset_, p);
    }
    std::wstring ApptLocation(int r, int p) const override
    {
        return all_.ApptLocation(r + offset_, p);
    }
    bool IsAllDay(int r, int p) const override { return all_.IsAllDay(r + offset_, p); }
    int EntryState(int r, int p) const override { return all_.EntryState(r + offset_, p); }
    int Busy(int r, int p) const override { return all_.Busy(r + offset_, p); }
    int DayKind(int r, int p) const override { return all_.DayKind(r + offset_, p); }
    int TaskCount(int row) const override { return all_.TaskCount(row + offset_); }
    std::wstring TaskSubject(int r, int p) const override
    {
        return all_.TaskSubject(r + offset_, p);
    }
    std::wstring TaskCategories(int r, int p) const override
    {
        return all_.TaskCategories(r + offset_, p);
    }
    std::wstring TaskDueText(int r, int p) const override
    {
        return all_.TaskDueText(r + offset_, p);
    }
    bool TaskRecurring(int r, int p) const override { return all_.TaskRecurring(r + offset_, p); }
    bool TaskStartsHere(int r, int p) const override { return all_.TaskStartsHere(r + offset_, p); }
    bool TaskDueHere(int r, int p) const override { return all_.TaskDueHere(r + offset_, p); }
    bool TaskComplete(int r, int p) const override { return all_.TaskComplete(r + offset_, p); }
    bool TaskHasDue(int r, int p) const override { return all_.TaskHasDue(r + offset_, p); }
    bool TaskOverdue(int r, int p) const override { return all_.TaskOverdue(r + offset_, p); }

private:
    const DayEntries& all_;
    int offset_;
};

LayoutInput PageInput(const PrintJob& job)
{
    LayoutInput in = job.layout;
    in.InfoAreaVisible = false;
    in.InfoAreaFixBottom = true;
    in.FitHoursToWidth = true;
    return in;
}

// The page's layout holding `days` rows; the grid holds the period's weeks on one page.
ViewLayout PageLayout(const PrintJob& job, int width, int height, int days)
{
    ViewLayout layout = ViewLayout::Compute(width, height, PageInput(job));
    if (layout.ganttRows) {
        layout.dayRowCount = std::clamp(days, 0, layout.dayRowCount);
        layout.chartBottom = layout.rowsTop + layout.dayRowHeight * layout.dayRowCount;
    }
    return layout;
}

void PaintPageHeader(QPainter& painter, const ViewLayout& layout, const PrintJob& job,
                     const TextSink& text, int page, int pages)
{
    painter.setPen(Qt::black);
    const QRect band(0, 0, layout.clientWidth, layout.buttonBarHeight);
    const int y = std::max(0, (band.height() - layout.headerFontSize) / 2);
    text.Draw(painter, 4, y, PrintedPeriod(job.entries.GetShownStart(), job.dayCount), band);
    const std::wstring number = QString::fromStdWString(res::LoadString(res::IDS_PRINT_PAGE))
                                    .arg(page + 1)
                                    .arg(pages)
                                    .toStdWString();
    text.DrawRightAligned(painter, band.right() - 4, y, number, band);
}

void PaintPage(QPainter& painter, const ViewLayout& layout, const PrintJob& job, int offset)
{
    const ViewResources resources(job.settings, false);
    const TextSink text;
    const PageEntries entries(job.entries, offset);
    const GanttGeometry geometry(layout);
    const SYSTEMTIME first = entries.GetShownStart();
    // No day is selected on paper: the selection frame falls outside the page's rows.
    const SYSTEMTIME unselected = AddDays(first, -1);
    const PaintContext context{painter,   layout, geometry, entries,    job.settings,
                               resources, text,   first,    unselected, job.now};
    const GanttPainter gantt(context);
    const CalendarPainter grid(context);
    const TaskDetailPainter tasks(context);
    painter.setFont(resources.MainFont());
    for (int day = 0; day < layout.dayRowCount; ++day) {
        if (layout.ganttRows) {
            gantt.PaintRowBackgroundAndLabel(day);
            tasks.PaintTaskStrip(day);
            gantt.PaintAppointments(day);
        } else {
            grid.PaintCellBackground(day);
            grid.PaintCellContents(day);
        }
    }
    painter.setPen(resources.BlackPen());
    HorizontalLine(painter, 0, layout.chartRight, layout.chartBottom);
    layout.ganttRows ? gantt.PaintHeader() : grid.PaintHeader();
}

} // namespace

PrintPaging PagingFor(const PrintJob& job, int pageWidth, int pageHeight)
{
    const ViewLayout page = ViewLayout::Compute(pageWidth, pageHeight, PageInput(job));
    if (!page.ganttRows || page.dayRowCount <= 0) {
        return {std::max(page.dayRowCount, 1), 1};
    }
    const int days = std::max(job.dayCount, 1);
    return {page.dayRowCount, (days + page.dayRowCount - 1) / page.dayRowCount};
}

std::wstring PrintedPeriod(const SYSTEMTIME& first, int dayCount)
{
    const SYSTEMTIME last = AddDays(first, std::max(dayCount, 1) - 1);
    const auto day = [](const SYSTEMTIME& d) {
        return DayText(d) + L" " + WeekdayName(d.wDayOfWeek, true);
    };
    return day(first) + L" - " + day(last);
}

int PrintSchedule(QPagedPaintDevice& device, const PrintJob& job)
{
    const int width = device.width();
    const int height = device.height();
    const PrintPaging paging = PagingFor(job, width, height);
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    for (int page = 0; page < paging.pageCount; ++page) {
        if (page > 0) {
            device.newPage();
        }
        const int offset = page * paging.daysPerPage;
        const int days = std::min(paging.daysPerPage, job.dayCount - offset);
        const ViewLayout layout = PageLayout(job, width, height, days);
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        PaintPageHeader(painter, layout, job, TextSink(), page, paging.pageCount);
        PaintPage(painter, layout, job, offset);
    }
    return paging.pageCount;
}

bool WriteSchedulePdf(const PrintJob& job, const std::string& path)
{
    const QString name = QString::fromStdString(path);
    // QPdfWriter would say nothing of a file it cannot open.
    if (QFile file(name); !file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QPdfWriter pdf(name);
    pdf.setResolution(kPrintDotsPerInch);
    pdf.setPageLayout(DefaultPrintPage());
    pdf.setTitle(QString::fromStdWString(PrintedPeriod(job.entries.GetShownStart(), job.dayCount)));
    pdf.setCreator(QStringLiteral("Tamberlo"));
    return PrintSchedule(pdf, job) > 0;
}

QPageLayout DefaultPrintPage()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}
