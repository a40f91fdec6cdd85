// The dialog runner of the running program: Qt's modal loop.
#pragma once

#include "platform/dialog_runner.h"

class QtDialogRunner : public DialogRunner {
public:
    int Run(QDialog& dialog) override;
};
