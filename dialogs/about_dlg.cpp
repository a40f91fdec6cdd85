// The about dialog: fixed texts beside the application icon, closed with OK.
#include "dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/settings_controls.h"
#include "res/build_version.h"
#include "res/command_line.h"
#include "res/pictures.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tamberlo Version Info"));
    auto* icon = new QLabel;
    icon->setPixmap(res::ApplicationIcon().pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("Tamberlo"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* build = new QLabel(BuildLine());
    build->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    Named(buttons->button(QDialogButtonBox::Ok), 1)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    const QString version = QStringLiteral("Version ") + QLatin1String(res::kProgramVersion);
    grid->addWidget(new QLabel(version), 1, 1);
    grid->addWidget(build, 2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    grid->setHorizontalSpacing(16);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(260);
}

QString CAboutDlg::BuildLine()
{
    return QStringLiteral("Build ") + ToQString(res::kBuildVersion);
}
