// Runs a dialog in Qt's modal loop.
#include "app/qt_dialog_runner.h"

#include <QDialog>

int QtDialogRunner::Run(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted ? DialogAccepted : DialogRejected;
}
