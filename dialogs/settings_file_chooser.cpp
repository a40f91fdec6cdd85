// The program's settings-file chooser.
#include "dialogs/settings_file_chooser.h"

#include <QFile>
#include <QFileDialog>

#include "platform/dialog_runner.h"
#include "res/string_table.h"

QStringList NameFiltersOf(const std::wstring& filterText)
{
    const QStringList parts = QString::fromStdWString(filterText).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i].isEmpty()) {
            names << parts[i];
        }
    }
    return names;
}

QtSettingsFileChooser::QtSettingsFileChooser(DialogRunner& dialogs)
    : QtSettingsFileChooser(dialogs, NameFiltersOf(res::LoadString(res::IDS_SETTINGS_FILE_FILTER)),
                            false)
{
}

std::string QtSettingsFileChooser::Choose(QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(forSaving_ ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(forSaving_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters_);
    if (dialogs_.Run(dialog) != DialogAccepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}
