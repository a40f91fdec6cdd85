// The recurring-change question with its four buttons.
#include "editors/recur_confirm_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

namespace {

QPushButton* AddButton(QBoxLayout& row, int id, const char* text)
{
    QPushButton* button = NewPushButton(id, QString::fromLatin1(text));
    row.addWidget(button);
    return button;
}

} // namespace

std::wstring CRecurConfirmDlg::KindText(int kind)
{
    switch (kind) {
    case 1:
        return res::LoadString(res::IDS_KIND_NEW_EXCEPTION);
    case 2:
    case 3:
        return res::LoadString(res::IDS_KIND_EXISTING_EXCEPTION);
    case 4:
        return res::LoadString(res::IDS_KIND_CANCEL_EXCEPTION);
    default:
        return {};
    }
}

CRecurConfirmDlg::CRecurConfirmDlg(int kind, AppSettings& settings, MessageService& messages,
                                   QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages)
{
    setWindowTitle(ToQString(res::LoadString(res::IDS_CONFIRM)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("It's Recurring Appoint. sel change type")));
    layout->addWidget(new QLabel(tr("All:Change for all")));
    layout->addWidget(new QLabel(tr("Excep:Change only this one")));
    const std::wstring kindText = KindText(kind);
    layout->addWidget(Named(
        new QLabel(kindText.empty() ? tr("Exception appoint info") : ToQString(kindText)), 1131));

    auto* choices = new QHBoxLayout;
    QPushButton* all = AddButton(*choices, 1065, "All");
    QPushButton* excep = AddButton(*choices, 1096, "Excep");
    QPushButton* cancel = AddButton(*choices, 2, "Cancel");
    layout->addLayout(choices);
    auto* clearRow = new QHBoxLayout;
    QPushButton* clearAll = AddButton(*clearRow, 1066, "Clear all exception");
    clearRow->addStretch();
    layout->addLayout(clearRow);
    all->setDefault(true);
    all->setFocus();

    connect(all, &QPushButton::clicked, this, [this] { Finish(LastEditResult::kSaved); });
    connect(excep, &QPushButton::clicked, this, [this] { Finish(LastEditResult::kDeleted); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clearAll, &QPushButton::clicked, this, &CRecurConfirmDlg::OnClearAll);
    // Escape and the window's close button answer Cancel as well.
    connect(this, &QDialog::rejected, this,
            [this] { settings_.SetLastEditResult(LastEditResult::kCancelled); });
}

void CRecurConfirmDlg::Finish(int result)
{
    settings_.SetLastEditResult(result);
    accept();
}

void CRecurConfirmDlg::OnClearAll()
{
    if (ConfirmOk(messages_, res::IDS_CLEAR_ALL_EXCEPTIONS_QUESTION)) {
        Finish(LastEditResult::kClearAllExceptions);
    }
}
