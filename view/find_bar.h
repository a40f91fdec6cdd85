// The find bar: a text field and, as the user types, every appointment and task of the whole
// calendar that contains the text, with date, time and subject. Enter or a double click jumps
// to the chosen match; Escape closes the bar. Hidden calendars are searched only when asked.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "model/calendar_find.h"

class QCheckBox;
class QLineEdit;
class QTreeView;
class FoundLinesModel;

class FindBar : public QWidget {
    Q_OBJECT
public:
    using Search = std::function<FoundItems(const std::wstring& text, bool hiddenToo)>;
    using Jump = std::function<void(const FoundItem& found)>;

    FindBar(Search search, Jump jump, QWidget* parent = nullptr);

    // Shows the bar with the field focused and its text selected.
    void Open();
    // F3 (+1) and Shift+F3 (-1): the next or previous match, jumped to; wraps around.
    void Step(int by);

    QLineEdit* Field() const { return field_; }
    // The list of matches: date, time and subject columns, one row a line of the last search.
    QTreeView* Matches() const { return list_; }
    // "Include hidden calendars": ticked, the hidden calendars' items are found too.
    QCheckBox* HiddenToo() const { return hiddenToo_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row chosen in the list; -1 when none is.
    int CurrentRow() const;
    void Refresh();
    void Choose(int row);
    void JumpToCurrent();

    Search search_;
    Jump jump_;
    QLineEdit* field_;
    QCheckBox* hiddenToo_;
    QTreeView* list_;
    FoundLinesModel* lines_;
};
