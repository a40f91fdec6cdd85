// The printed PDF: pages of whole days headed by period and page of pages, items on their day's.
#include <QProcess>
#include <gtest/gtest.h>

#include "document_harness.h"
#include "view/schedule_print.h"

TEST(SchedulePrint, EveryItemOfThePeriodIsOnItsPage)
{
    ViewSettings settings = Settings();
    settings.draw.DispTextLen = 0;
    DocumentHarness h(settings);
    h.Add(AppointmentValues(L"Dentist", At(7, 8), At(7, 12)));
    h.Add(AppointmentValues(L"Concert", At(31, 17), At(31, 21)));
    h.view.resize(900, 1400); // more days than an A4 page holds
    h.view.grab();
    const PrintJob job = h.view.ShownPeriodPrintJob();
    const std::string pdf = h.paths.File("period.pdf");
    ASSERT_TRUE(WriteSchedulePdf(job, pdf));
    EXPECT_FALSE(WriteSchedulePdf(job, h.paths.File("no/such/folder/period.pdf")));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    const QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                  .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    const QRect paper = DefaultPrintPage().paintRectPixels(kPrintDotsPerInch);
    const PrintPaging paging = PagingFor(job, paper.width(), paper.height());
    ASSERT_GE(paging.pageCount, 2);
    ASSERT_EQ(pages.size(), paging.pageCount);
    const QString period =
        QString::fromStdWString(PrintedPeriod(MakeSystemTime(2026, 12, 7), job.dayCount));
    for (int page = 0; page < pages.size(); ++page) {
        EXPECT_TRUE(pages[page].contains(period)) << page;
        EXPECT_TRUE(
            pages[page].contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
    }
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Dentist")));
    EXPECT_TRUE(pages[24 / paging.daysPerPage].contains(QStringLiteral("Concert")));
}
