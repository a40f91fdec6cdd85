// Printing the shown period: the chart (or the calendar grid) drawn by the view's own painters on
// pages of whole days, each headed by the period and its page number, the hours fitted to the
// paper's width. The printer, a PDF file and the snapshot tool all go through it.
#pragma once

#include <QPageLayout>
#include <string>

#include "platform/systemtime.h"
#include "view/day_entries.h"
#include "view/draw_settings.h"
#include "view/view_layout.h"

class QPagedPaintDevice;

struct PrintJob {
    const DayEntries& entries; // row 0 is the period's first day
    const DrawSettings& settings;
    LayoutInput layout; // the view's switches and sizes; the hours are fitted to the paper
    int dayCount = 0;   // rows of the period
    SYSTEMTIME now;
};

// The days one page holds and how many pages the period needs at that page size (in pixels).
struct PrintPaging {
    int daysPerPage = 1;
    int pageCount = 1;
};
PrintPaging PagingFor(const PrintJob& job, int pageWidth, int pageHeight);

// "2026/12/07 Mon - 2027/01/15 Fri": the header's period.
std::wstring PrintedPeriod(const SYSTEMTIME& first, int dayCount);

// Paints every page of the job on `device` (its resolution taken as the view's pixels); returns
// the number of pages.
int PrintSchedule(QPagedPaintDevice& device, const PrintJob& job);

// Writes the job's pages to a PDF file at `path`; false when the file cannot be written.
bool WriteSchedulePdf(const PrintJob& job, const std::string& path);

// The page the program prints on: A4 landscape, where a day's hours read best.
QPageLayout DefaultPrintPage();
// The resolution pages are drawn at: the view's pixels at their size on a screen.
constexpr int kPrintDotsPerInch = 96;
