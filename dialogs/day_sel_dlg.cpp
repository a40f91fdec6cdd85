// The day-select dialog: a long-format date field with a calendar pop-up.
#include "dialogs/day_sel_dlg.h"

#include <QDateEdit>
#include <QLocale>
#include <QVBoxLayout>

#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"

CDaySelDlg::CDaySelDlg(const SYSTEMTIME& date, MessageService& messages, QWidget* parent)
    : QDialog(parent), date_(date), messages_(messages)
{
    setWindowTitle(QStringLiteral("Day Sel"));
    // The picker itself reaches past the supported years so the refusal can say why.
    picker_ = Named(new QDateEdit(QDate(date.wYear, date.wMonth, date.wDay)), 1140);
    picker_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    picker_->setCalendarPopup(true);
    picker_->setDateRange(QDate(1800, 1, 1), QDate(9999, 12, 31));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picker_);
    AddOkCancel(*layout, *this);
    setMinimumWidth(280);
}

void CDaySelDlg::accept()
{
    const QDate picked = picker_->date();
    const SYSTEMTIME date = MakeSystemTime(picked.year(), picked.month(), picked.day());
    if (const auto refusal = CheckDaySelection(date)) {
        ShowRefusal(messages_, *refusal, *this);
        return;
    }
    date_ = date;
    QDialog::accept();
}
