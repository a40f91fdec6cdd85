// The category selection dialog over CategorySelection.
#include "editors/category_sel_dlg.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/dialog_controls.h"
#include "platform/dialog_runner.h"
#include "settings/app_settings.h"

namespace {

std::vector<std::wstring> CategoryEditList(const AppSettings& settings)
{
    std::vector<std::wstring> names;
    names.reserve(settings.GetListCount(SettingsList::CategoryInfo));

    for (int i = 0; i < settings.GetListCount(SettingsList::CategoryInfo); ++i) {
        names.push_back(settings.GetListItem(SettingsList::CategoryInfo, i));
    }
    return names;
}

void Fill(QListWidget* list, const std::vector<std::wstring>& names, int row)
{
    list->clear();
    for (const std::wstring& name : names) {
        list->addItem(ToQString(name));
    }
    const int shown = std::min(row, list->count() - 1);
    if (shown >= 0) {
        list->setCurrentRow(shown);
    }
}

// The row the user selected, -1 for none; the current row alone (set by focus) does not count.
int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

} // namespace

CCategorySelDlg::CCategorySelDlg(const std::wstring& text, const AppSettings& settings,
                                 QWidget* parent)
    : QDialog(parent), selection_(text, CategoryEditList(settings)),
      chosen_(Named(new QListWidget(this), 1166)), available_(Named(new QListWidget(this), 1177))
{
    setWindowTitle(tr("Category Sel"));
    QPushButton* add = NewPushButton(1067, tr("Add"), this);
    QPushButton* remove = NewPushButton(1068, tr("Remove"), this);
    connect(add, &QPushButton::clicked, this, &CCategorySelDlg::AddSelected);
    connect(remove, &QPushButton::clicked, this, &CCategorySelDlg::RemoveSelected);

    auto* moves = new QHBoxLayout;
    moves->addStretch();
    moves->addWidget(add);
    moves->addWidget(remove);
    moves->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chosen_);
    layout->addLayout(moves);
    layout->addWidget(available_);
    layout->addWidget(NewOkCancel(this));
    ChainTabOrder({chosen_, add, remove, available_});
    resize(320, 420);
    ShowLists(-1, -1);
}

bool CCategorySelDlg::Choose(DialogRunner& runner, const AppSettings& settings, std::wstring& text,
                             QWidget* parent)
{
    CCategorySelDlg dialog(text, settings, parent);
    if (runner.Run(dialog) != DialogAccepted) {
        return false;
    }
    text = dialog.Text();
    return true;
}

// The insertion point stays on the entry it was on, so names added one after another keep their
// order; the source list selects the next name.
void CCategorySelDlg::AddSelected()
{
    const int from = SelectedRow(available_);
    const int to = SelectedRow(chosen_);
    if (selection_.Add(from, to)) {
        ShowLists(to < 0 ? -1 : to + 1, from);
    }
}

void CCategorySelDlg::RemoveSelected()
{
    const int from = SelectedRow(chosen_);
    const int to = SelectedRow(available_);
    if (selection_.Remove(from, to)) {
        ShowLists(from, to < 0 ? -1 : to + 1);
    }
}

// Redraws both lists from the selection; a row of -1 selects nothing.
void CCategorySelDlg::ShowLists(int chosenRow, int availableRow)
{
    Fill(chosen_, selection_.Chosen(), chosenRow);
    Fill(available_, selection_.Available(), availableRow);
}
