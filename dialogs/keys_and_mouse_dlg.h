// "Keys and Mouse" (Help, F1): every picture button with its picture and name, the desktop keys,
// the focus areas' keys, the digit keys as assigned and the mouse gestures, in one list.
#pragma once

#include <QDialog>
#include <vector>

#include "res/help_table.h"

class DialogRunner;
class QTreeWidget;

class CKeysAndMouseDlg : public QDialog {
    Q_OBJECT
public:
    CKeysAndMouseDlg(const std::vector<res::HelpSection>& sections, QWidget* parent = nullptr);

    // Shows the page through the program's dialog seam.
    static void Run(DialogRunner& dialogs, const std::vector<res::HelpSection>& sections,
                    QWidget* parent);

    QTreeWidget* Table() const { return table_; }

private:
    QTreeWidget* table_ = nullptr;
};
