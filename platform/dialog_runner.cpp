// The scripted dialog runner used by tests.
#include "platform/dialog_runner.h"

int ScriptedDialogRunner::Run(QDialog& dialog)
{
    ++runs_;
    if (steps_.empty()) {
        return DialogRejected;
    }
    const Step step = std::move(steps_.front());
    steps_.pop_front();
    return step(dialog);
}
