// The one way the program shows a modal dialog. The window runs dialogs with Qt's modal loop;
// tests script each dialog (fill its fields, then accept or reject) so no test blocks on one.
#pragma once

#include <deque>
#include <functional>

class QDialog;

// Results as QDialog::exec gives them.
enum DialogResult : int { DialogRejected = 0, DialogAccepted = 1 };

class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally and returns its result (DialogAccepted or DialogRejected).
    virtual int Run(QDialog& dialog) = 0;
};

// Answers each dialog with the next scripted step, which may drive the dialog's controls and
// returns the result; a dialog with no step left is rejected, as if the user pressed Cancel.
class ScriptedDialogRunner : public DialogRunner {
public:
    using Step = std::function<int(QDialog&)>;

    void Queue(Step step) { steps_.push_back(std::move(step)); }
    int Run(QDialog& dialog) override;
    int RunCount() const { return runs_; }
    bool Exhausted() const { return steps_.empty(); }

private:
    std::deque<Step> steps_;
    int runs_ = 0;
};
