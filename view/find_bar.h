// The find bar: a text field and, as the user types, the appointments and tasks of the whole
// calendar that contain the text, with date, time and subject. Enter or a double click jumps
// to the chosen match; Escape closes the bar. Hidden calendars are searched only when asked.
// Typing never waits for a search: a short text is searched once the typing pauses, every
// search answers later (the program runs it on a worker), an answer to an older text is
// dropped, and at most kListedLines lines are listed, the rest counted in a last line.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "model/calendar_find.h"

class QCheckBox;
class QLineEdit;
class QTreeView;
class FoundLinesModel;

// How long the typing must pause before `text` is searched: a letter or two match most of a
// large calendar, and the next keystroke would make that search moot.
int FindPauseMs(const std::wstring& text);

class FindBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kListedLines = 300;
    // Lines listed before the next upcoming one when the matches are more than are listed.
    static constexpr int kLinesBeforeNext = 20;

    // Hands the matches of a search to the bar, on the bar's thread, at once or later.
    using Answer = std::function<void(FoundItems found)>;
    using Search = std::function<void(const std::wstring& text, bool hiddenToo, Answer answer)>;
    using Jump = std::function<void(const FoundItem& found)>;
    // Calls `then` on the bar's thread after `ms` milliseconds (QTimer unless a test gives one).
    using Defer = std::function<void(int ms, std::function<void()> then)>;

    FindBar(Search search, Jump jump, QWidget* parent = nullptr, Defer defer = {});

    // Shows the bar with the field focused and its text selected.
    void Open();
    // F3 (+1) and Shift+F3 (-1): the next or previous listed match, jumped to; wraps around.
    void Step(int by);

    QLineEdit* Field() const { return field_; }
    // The listed matches: date, time and subject columns, then a "%1 more" line if any.
    QTreeView* Matches() const { return list_; }
    // "Include hidden calendars": ticked, the hidden calendars' items are found too.
    QCheckBox* HiddenToo() const { return hiddenToo_; }
    // Whether a search for the text as it is now has not answered yet.
    bool Searching() const { return answered_ != asked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The listed line chosen; -1 when none is.
    int CurrentRow() const;
    void Refresh();
    void Ask(int serial);
    void Show(int serial, FoundItems found);
    void Choose(int row);
    void JumpToCurrent();

    Search search_;
    Jump jump_;
    Defer defer_;
    QLineEdit* field_;
    QCheckBox* hiddenToo_;
    QTreeView* list_;
    FoundLinesModel* lines_;
    int asked_ = 0;                 // the serial of the text as it is now
    int answered_ = 0;              // the serial of the matches listed
    bool jumpWhenAnswered_ = false; // Enter came before the answer
};
