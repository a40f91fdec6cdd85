// The category settings dialog.
#include "dialogs/category_set_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "editors/category_sel_dlg.h"
#include "editors/dialog_controls.h"
#include "platform/dialog_runner.h"
#include "settings/app_settings.h"

CCategorySetDlg::CCategorySetDlg(AppSettings& settings, DialogRunner& runner,
                                 MessageService& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), runner_(runner), messages_(messages),
      restday_(NewEditCombo(1102, settings, SettingsList::CategoryInfo, this)),
      memorial_(NewEditCombo(1104, settings, SettingsList::CategoryInfo, this)),
      type_(NewListCombo(1024, {L"NoCare", L"View Target", L"Hide Target"}, this)),
      target_(NewEditCombo(1180, settings, SettingsList::CategoryInfo, this))
{
    setWindowTitle(tr("Category Set"));
    restday_->setEditText(ToQString(settings.GetHolidayCategory()));
    memorial_->setEditText(ToQString(settings.GetMemorialCategory()));
    // A filter type no list entry stands for (a hand-edited profile) shows as "NoCare".
    const int type = settings.GetCategoryCtrType();
    type_->setCurrentIndex(type >= 0 && type < type_->count() ? type : 0);
    target_->setEditText(ToQString(settings.GetCategoryCtrTarget()));

    auto* choose = NewEllipsisButton(1181, this);
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
    layout->addWidget(NewOkCancel(this));
    ChainTabOrder({restday_, memorial_, type_, target_, choose});
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
    std::wstring text = ToWString(target_->currentText());
    if (CCategorySelDlg::Choose(runner_, settings_, text, this)) {
        target_->setEditText(ToQString(text));
    }
}

void CCategorySetDlg::accept()
{
    std::wstring restday = settings_.GetHolidayCategory();
    std::wstring memorial = settings_.GetMemorialCategory();
    std::wstring target = settings_.GetCategoryCtrTarget();
    const std::tuple<QComboBox*, std::wstring&, int> texts[] = {
        {restday_, restday, 1102}, {memorial_, memorial, 1104}, {target_, target, 1180}};
    for (const auto& [combo, text, id] : texts) {
        if (const Verdict refusal =
                TakeText(ToWString(combo->currentText()), text, TextKind::kLine, id)) {
            ShowRefusal(*this, messages_, *refusal);
            return;
        }
    }
    settings_.SetHolidayCategory(restday);
    settings_.SetMemorialCategory(memorial);
    settings_.SetCategoryCtrType(type_->currentIndex());
    settings_.SetCategoryCtrTarget(target);
    QDialog::accept();
}
