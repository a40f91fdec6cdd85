// Find over the whole calendar in the main window: Ctrl+F opens the find bar above the view,
// F3 and Shift+F3 step through its matches, and a chosen match's day is shown by the view with
// the item selected. The bar's searches run on a worker over a connection of their own.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/command_table.h"
#include "view/find_bar.h"

class CMainFrame;
class CTamberloView;
class WorkerJob;

class FindCommands {
public:
    FindCommands(std::string storePath, CMainFrame& frame, CTamberloView& view);
    // Waits for a search under way.
    ~FindCommands();

    void AddTo(CommandTable& table);
    FindBar& Bar() const { return *bar_; }

private:
    struct Request {
        std::wstring text;
        bool hiddenToo = false;
        FindBar::Answer answer;
    };
    // One search at a time; of those asked meanwhile only the last one runs next.
    void Search(Request request);
    void StartNext();
    void Show(const FoundItem& found);

    std::string storePath_;
    CTamberloView& view_;
    std::unique_ptr<WorkerJob> worker_;
    std::optional<Request> next_;
    FindBar* bar_; // owned by the frame
};
