// "Tamberlo Version Info": the program's icon, name and version, and the build's own version on
// a line below so a bug report can name the build.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Build " and the version the build was made from.
    static QString BuildLine();
};
