// The help page as a two-column list: a heading row per section, then its rows; a picture
// button's row carries the button's own picture, as drawn in the button bar.
#include "dialogs/keys_and_mouse_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/dialog_runner.h"
#include "res/pictures.h"
#include "res/string_table.h"

namespace {

QString Text(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

QIcon ButtonPicture(int button)
{
    const QPixmap strip = res::LoadPicture(res::ButtonStrip(button), true);
    return QIcon(strip.copy(res::ButtonTileRect(button, true)));
}

void AddSection(QTreeWidget& table, const res::HelpSection& section)
{
    auto* heading = new QTreeWidgetItem(&table, {Text(section.title)});
    QFont bold = heading->font(0);
    bold.setBold(true);
    heading->setFont(0, bold);
    heading->setFirstColumnSpanned(true);
    for (const res::HelpRow& row : section.rows) {
        auto* item = new QTreeWidgetItem(heading, {Text(row.keys), Text(row.does)});
        if (row.button >= 0) {
            item->setIcon(1, ButtonPicture(row.button));
        }
    }
}

} // namespace

CKeysAndMouseDlg::CKeysAndMouseDlg(const std::vector<res::HelpSection>& sections, QWidget* parent)
    : QDialog(parent), table_(new QTreeWidget)
{
    setWindowTitle(Text(res::LoadString(res::IDS_KEYS_AND_MOUSE)));
    table_->setObjectName(QStringLiteral("KeysAndMouseTable"));
    table_->setColumnCount(2);
    table_->setHeaderLabels({Text(res::LoadString(res::IDS_HELP_COLUMN_KEY)),
                             Text(res::LoadString(res::IDS_HELP_COLUMN_DOES))});
    table_->setRootIsDecorated(false);
    table_->setIconSize(QSize(res::kLargeTileSize, res::kLargeTileSize));
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    for (const res::HelpSection& section : sections) {
        AddSection(*table_, section);
    }
    table_->expandAll();
    table_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(720, 640);
}

void CKeysAndMouseDlg::Run(DialogRunner& dialogs, const std::vector<res::HelpSection>& sections,
                           QWidget* parent)
{
    CKeysAndMouseDlg dialog(sections, parent);
    dialogs.Run(dialog);
}
