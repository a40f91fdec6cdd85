// The printed period as a reader of the PDF sees it: every item of the shown days on pages of
// whole days, each headed by the period and its page of pages.
#include <QProcess>
#include <gtest/gtest.h>

#include "document_harness.h"
#include "tests/support/store_items.h"
#include "view/schedule_print.h"

namespace {

QString PdfText(const std::string& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
    return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput())
                                            : QString();
}

} // namespace

TEST(SchedulePrint, EveryItemOfThePeriodIsOnItsPage)
{
    ViewSettings settings = Settings();
    settings.draw.DispTextLen = 0;
    DocumentHarness h(settings);
    // Long enough for the subject to fit the bar at the paper's hour width.
    for (const auto& [day, hour, subject] :
         {std::tuple{7, 8, L"Dentist"}, {15, 13, L"Budget"}, {31, 17, L"Concert"}}) {
        h.Add(AppointmentValues(subject, At(day, hour), At(day, hour + 4)));
    }
    h.view.resize(900, 1400); // more days than an A4 page holds
    h.view.grab();
    const PrintJob job = h.view.ShownPeriodPrintJob();
    ASSERT_GT(job.dayCount, 30);
    const std::string pdf = h.paths.File("period.pdf");
    ASSERT_TRUE(WriteSchedulePdf(job, pdf));
    const QString text = PdfText(pdf);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) is needed";

    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    const QRect paper = DefaultPrintPage().paintRectPixels(kPrintDotsPerInch);
    const PrintPaging paging = PagingFor(job, paper.width(), paper.height());
    ASSERT_GE(paging.pageCount, 2);
    EXPECT_EQ(pages.size(), paging.pageCount);
    const QString period =
        QString::fromStdWString(PrintedPeriod(MakeSystemTime(2026, 12, 7), job.dayCount));
    for (int page = 0; page < pages.size(); ++page) {
        EXPECT_TRUE(pages[page].contains(period)) << page;
        EXPECT_TRUE(
            pages[page].contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
    }
    const auto pageOf = [&](const QString& subject) {
        for (int page = 0; page < pages.size(); ++page) {
            if (pages[page].contains(subject)) {
                return page;
            }
        }
        return -1;
    };
    EXPECT_EQ(pageOf(QStringLiteral("Dentist")), 0);
    EXPECT_EQ(pageOf(QStringLiteral("12/15")), 0);
    EXPECT_EQ(pageOf(QStringLiteral("Budget")), 0);
    EXPECT_EQ(pageOf(QStringLiteral("Concert")), 24 / paging.daysPerPage);
    EXPECT_FALSE(WriteSchedulePdf(job, h.paths.File("no/such/folder/period.pdf")));
}
