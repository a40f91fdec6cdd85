// The list shows the lines through a model that makes the texts of the rows on screen only, and
// lists a window of the matches around the next upcoming one, so even a text that matches every
// item of a large calendar is shown at once; the search itself never runs on the bar's thread.
#include "view/find_bar.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "res/string_table.h"

int FindPauseMs(const std::wstring& text)
{
    constexpr size_t kShortText = 3;
    constexpr int kPauseMs = 300;
    return text.size() < kShortText ? kPauseMs : 0;
}

class FoundLinesModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const FoundItems& Found() const { return found_; }
    void SetFound(FoundItems found)
    {
        beginResetModel();
        found_ = std::move(found);
        const int total = Total();
        listed_ = std::min(total, FindBar::kListedLines);
        const int anchor = found_.next >= 0 ? found_.next : total - 1;
        first_ = std::clamp(anchor - FindBar::kLinesBeforeNext, 0, total - listed_);
        endResetModel();
    }
    int Listed() const { return listed_; }
    // The line of listed row `row`; null for the "more" line and outside the list.
    const FoundItem* LineAt(int row) const
    {
        return row >= 0 && row < listed_
                   ? &found_.lines[static_cast<size_t>(first_) + static_cast<size_t>(row)]
                   : nullptr;
    }
    // The row that lists line `line`; -1 when it is not listed.
    int RowOf(int line) const
    {
        return line >= first_ && line < first_ + listed_ ? line - first_ : -1;
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : listed_ + (Total() > listed_ ? 1 : 0);
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        // The "more" line is read, not chosen.
        return index.row() < listed_ ? QAbstractTableModel::flags(index) : Qt::ItemIsEnabled;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        const FoundItem* line = LineAt(index.row());
        if (line == nullptr) {
            return index.column() == 2
                       ? QString::fromStdWString(res::LoadString(
                             res::IDS_FIND_MORE, std::to_wstring(Total() - listed_)))
                       : QVariant();
        }
        switch (index.column()) {
        case 0:
            return QString::fromStdWString(FoundDayText(*line));
        case 1:
            return QString::fromStdWString(FoundTimeText(*line));
        default:
            return QString::fromStdWString(line->subject);
        }
    }

private:
    int Total() const { return static_cast<int>(found_.lines.size()); }

    FoundItems found_;
    int first_ = 0;
    int listed_ = 0;
};

FindBar::FindBar(Search search, Jump jump, QWidget* parent, Defer defer)
    : QWidget(parent), search_(std::move(search)), jump_(std::move(jump)), defer_(std::move(defer)),
      field_(new QLineEdit(this)),
      hiddenToo_(new QCheckBox(
          QString::fromStdWString(res::LoadString(res::IDS_FIND_HIDDEN_CALENDARS)), this)),
      list_(new QTreeView(this)), lines_(new FoundLinesModel(this))
{
    if (!defer_) {
        defer_ = [this](int ms, std::function<void()> then) {
            QTimer::singleShot(ms, this, std::move(then));
        };
    }
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
    return current.isValid() && current.row() < lines_->Listed() ? current.row() : -1;
}

void FindBar::Step(int by)
{
    const int count = lines_->Listed();
    if (count == 0) {
        return;
    }
    const int at = CurrentRow();
    Choose(((at < 0 ? 0 : at + by) % count + count) % count);
    JumpToCurrent();
}

// Escape closes the bar from the field or the list; the up and down keys move in the list
// while the field keeps the focus.
bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        hide();
        return true;
    }
    if (watched == field_ && (key == Qt::Key_Down || key == Qt::Key_Up)) {
        const int to = CurrentRow() + (key == Qt::Key_Down ? 1 : -1);
        if (to >= 0 && to < lines_->Listed()) {
            Choose(to);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Each change of the text or the box is a new question; the answers to older ones are dropped.
void FindBar::Refresh()
{
    const int serial = ++asked_;
    const std::wstring text = field_->text().toStdWString();
    if (text.empty()) {
        Show(serial, {});
        return;
    }
    const int pause = FindPauseMs(text);
    if (pause == 0) {
        Ask(serial);
        return;
    }
    defer_(pause, [this, serial] {
        if (serial == asked_) {
            Ask(serial);
        }
    });
}

void FindBar::Ask(int serial)
{
    const QPointer<FindBar> alive(this);
    search_(field_->text().toStdWString(), hiddenToo_->isChecked(),
            [alive, serial](FoundItems found) {
                if (!alive.isNull()) {
                    alive->Show(serial, std::move(found));
                }
            });
}

void FindBar::Show(int serial, FoundItems found)
{
    if (serial != asked_) {
        return;
    }
    answered_ = serial;
    lines_->SetFound(std::move(found));
    const FoundItems& shown = lines_->Found();
    const int line = shown.next >= 0 ? shown.next : static_cast<int>(shown.lines.size()) - 1;
    const int row = lines_->RowOf(line);
    if (row >= 0) {
        Choose(row);
    }
    if (std::exchange(jumpWhenAnswered_, false)) {
        JumpToCurrent();
    }
}

void FindBar::Choose(int row)
{
    const QModelIndex index = lines_->index(row, 0);
    list_->setCurrentIndex(index);
    list_->scrollTo(index);
}

// Enter pressed before the matches of the text came jumps once they come.
void FindBar::JumpToCurrent()
{
    if (Searching()) {
        jumpWhenAnswered_ = true;
        return;
    }
    if (const FoundItem* line = lines_->LineAt(CurrentRow())) {
        jump_(*line);
    }
}
