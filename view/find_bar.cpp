// The list is filled again on every keystroke: the store answers from its index, so even a
// large calendar keeps up with typing.
#include "view/find_bar.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

FindBar::FindBar(Search search, Jump jump, QWidget* parent)
    : QWidget(parent), search_(std::move(search)), jump_(std::move(jump)),
      field_(new QLineEdit(this)), list_(new QTreeWidget(this))
{
    field_->setObjectName(QStringLiteral("findText"));
    list_->setObjectName(QStringLiteral("findMatches"));
    list_->setColumnCount(3);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMaximumHeight(field_->sizeHint().height() * 6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(field_);
    layout->addWidget(list_);
    connect(field_, &QLineEdit::textChanged, this, &FindBar::Refresh);
    connect(field_, &QLineEdit::returnPressed, this, &FindBar::JumpToCurrent);
    connect(list_, &QTreeWidget::itemActivated, this, &FindBar::JumpToCurrent);
    field_->installEventFilter(this);
    list_->installEventFilter(this);
}

void FindBar::Open()
{
    show();
    field_->setFocus();
    field_->selectAll();
}

void FindBar::Step(int by)
{
    const int count = list_->topLevelItemCount();
    if (count == 0)
        return;
    const int at = list_->indexOfTopLevelItem(list_->currentItem());
    list_->setCurrentItem(list_->topLevelItem(((at < 0 ? 0 : at + by) % count + count) % count));
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
        const int at = list_->indexOfTopLevelItem(list_->currentItem());
        if (QTreeWidgetItem* to = list_->topLevelItem(at + (key == Qt::Key_Down ? 1 : -1)))
            list_->setCurrentItem(to);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::Refresh()
{
    list_->clear();
    found_ = search_(field_->text().toStdWString());
    for (const FoundItem& found : found_.lines) {
        list_->addTopLevelItem(new QTreeWidgetItem(
            {QString::fromStdWString(FoundDayText(found)),
             QString::fromStdWString(FoundTimeText(found)),
             QString::fromStdWString(found.subject)}));
    }
    const int first = found_.next >= 0 ? found_.next : static_cast<int>(found_.lines.size()) - 1;
    if (first >= 0)
        list_->setCurrentItem(list_->topLevelItem(first));
}

void FindBar::JumpToCurrent()
{
    const int at = list_->indexOfTopLevelItem(list_->currentItem());
    if (at >= 0 && at < static_cast<int>(found_.lines.size()))
        jump_(found_.lines[at]);
}
