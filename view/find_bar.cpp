// The list is filled again on every keystroke: the store answers from its index, and the list
// shows the lines through a model that makes the texts of the rows on screen only, so even a
// text that matches every item of a large calendar keeps up with typing.
#include "view/find_bar.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "res/string_table.h"

class FoundLinesModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const FoundItems& Found() const { return found_; }
    void SetFound(FoundItems found)
    {
        beginResetModel();
        found_ = std::move(found);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(found_.lines.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const FoundItem& line = found_.lines[static_cast<size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return QString::fromStdWString(FoundDayText(line));
        case 1:
            return QString::fromStdWString(FoundTimeText(line));
        default:
            return QString::fromStdWString(line.subject);
        }
    }

private:
    FoundItems found_;
};

FindBar::FindBar(Search search, Jump jump, QWidget* parent)
    : QWidget(parent), search_(std::move(search)), jump_(std::move(jump)),
      field_(new QLineEdit(this)),
      hiddenToo_(new QCheckBox(
          QString::fromStdWString(res::LoadString(res::IDS_FIND_HIDDEN_CALENDARS)), this)),
      list_(new QTreeView(this)), lines_(new FoundLinesModel(this))
{
    field_->setObjectName(QStringLiteral("findText"));
    hiddenToo_->setObjectName(QStringLiteral("findHiddenCalendars"));
    list_->setObjectName(QStringLiteral("findMatches"));
    list_->setModel(lines_);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Date and time keep the width of their widest text; the subject takes the rest.
    const QFontMetrics metrics(list_->font());
    const int margin = metrics.horizontalAdvance(QLatin1Char(' ')) * 3;
    list_->header()->setStretchLastSection(true);
    list_->header()->resizeSection(0, metrics.horizontalAdvance(QStringLiteral("0000/00/00")) +
                                          margin);
    list_->header()->resizeSection(1, metrics.horizontalAdvance(QStringLiteral("00:00")) + margin);
    list_->setMaximumHeight(field_->sizeHint().height() * 6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(field_, 1);
    fieldRow->addWidget(hiddenToo_);
    layout->addLayout(fieldRow);
    layout->addWidget(list_);
    connect(field_, &QLineEdit::textChanged, this, &FindBar::Refresh);
    connect(hiddenToo_, &QCheckBox::toggled, this, &FindBar::Refresh);
    connect(field_, &QLineEdit::returnPressed, this, &FindBar::JumpToCurrent);
    connect(list_, &QTreeView::activated, this, &FindBar::JumpToCurrent);
    field_->installEventFilter(this);
    list_->installEventFilter(this);
}

void FindBar::Open()
{
    show();
    field_->setFocus();
    field_->selectAll();
}

int FindBar::CurrentRow() const
{
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FindBar::Step(int by)
{
    const int count = lines_->rowCount({});
    if (count == 0)
        return;
    const int at = CurrentRow();
    Choose(((at < 0 ? 0 : at + by) % count + count) % count);
    JumpToCurrent();
}

// Escape closes the bar from the field or the list; the up and down keys move in the list
// while the field keeps the focus.
bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        hide();
        return true;
    }
    if (watched == field_ && (key == Qt::Key_Down || key == Qt::Key_Up)) {
        const int to = CurrentRow() + (key == Qt::Key_Down ? 1 : -1);
        if (to >= 0 && to < lines_->rowCount({}))
            Choose(to);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::Refresh()
{
    lines_->SetFound(search_(field_->text().toStdWString(), hiddenToo_->isChecked()));
    const FoundItems& found = lines_->Found();
    const int first = found.next >= 0 ? found.next : static_cast<int>(found.lines.size()) - 1;
    if (first >= 0)
        Choose(first);
}

void FindBar::Choose(int row)
{
    const QModelIndex index = lines_->index(row, 0);
    list_->setCurrentIndex(index);
    list_->scrollTo(index);
}

void FindBar::JumpToCurrent()
{
    const int at = CurrentRow();
    const FoundItems& found = lines_->Found();
    if (at >= 0 && at < static_cast<int>(found.lines.size()))
        jump_(found.lines[static_cast<size_t>(at)]);
}
