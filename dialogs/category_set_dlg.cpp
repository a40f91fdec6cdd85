// The category settings dialog.
#include "dialogs/category_set_dlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/category_sel_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/text_rules.h"
#include "platform/dialog_runner.h"
#include "settings/edit_lists.h"

CCategorySetDlg::CCategorySetDlg(AppSettings& settings, DialogRunner& runner,
                                 MessageService& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), runner_(runner), messages_(messages)
{
    setWindowTitle(tr("Category Set"));
    const std::vector<std::wstring> categories = EditListItems(settings, EditList::Category);
    restday_ = MakeCombo(1102, categories, true);
    memorial_ = MakeCombo(1104, categories, true);
    type_ = MakeCombo(1024, {L"NoCare", L"View Target", L"Hide Target"}, false);
    target_ = MakeCombo(1180, categories, true);
    restday_->setEditText(ToQt(settings.GetHolidayCategory()));
    memorial_->setEditText(ToQt(settings.GetMemorialCategory()));
    // A filter type no list entry stands for (a hand-edited profile) shows as "NoCare".
    const int type = settings.GetCategoryCtrType();
    type_->setCurrentIndex(type >= 0 && type < type_->count() ? type : 0);
    target_->setEditText(ToQt(settings.GetCategoryCtrTarget()));

    auto* choose = Named(new QPushButton(QStringLiteral("...")), 1181);
    choose->setAutoDefault(false);
    choose->setMaximumWidth(40);
    connect(choose, &QPushButton::clicked, this, &CCategorySetDlg::ChooseTarget);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(target_, 1);
    targetRow->addWidget(choose);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tr("Restday Category"), restday_);
    form->addRow(tr("Memorial Category"), memorial_);
    form->addRow(tr("Contr Type"), type_);
    form->addRow(tr("Contr Target"), targetRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    QPushButton* ok = AddOkButton(*layout, *this);
    connect(ok, &QPushButton::clicked, this, &CCategorySetDlg::OnOk);
    ChainTabOrder({restday_, memorial_, type_, target_, choose, ok});
    resize(420, sizeHint().height());
}

bool CCategorySetDlg::Run(AppSettings& settings, DialogRunner& runner, MessageService& messages,
                          QWidget* parent)
{
    CCategorySetDlg dialog(settings, runner, messages, parent);
    return runner.Run(dialog) == DialogAccepted;
}

void CCategorySetDlg::ChooseTarget()
{
    std::wstring text = ComboText(*target_);
    if (CCategorySelDlg::Choose(runner_, settings_, text, this))
        target_->setEditText(ToQt(text));
}

void CCategorySetDlg::OnOk()
{
    for (QComboBox* combo : {restday_, memorial_, target_}) {
        if (const int problem = LineTextProblem(ComboText(*combo))) {
            ShowWarning(messages_, problem);
            combo->setFocus();
            return;
        }
    }
    settings_.SetHolidayCategory(ComboText(*restday_));
    settings_.SetMemorialCategory(ComboText(*memorial_));
    settings_.SetCategoryCtrType(type_->currentIndex());
    settings_.SetCategoryCtrTarget(ComboText(*target_));
    accept();
}
