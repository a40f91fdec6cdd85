// How the environment dialog asks for a settings file: the program shows a file dialog with the
// settings-file filters; tests answer with a path of their own.
#pragma once

#include <QStringList>
#include <string>

class DialogRunner;
class QWidget;

class SettingsFileChooser {
public:
    virtual ~SettingsFileChooser() = default;
    // The chosen file's full path; empty when the user cancelled.
    virtual std::string Choose(QWidget* parent) = 0;
};

// The name filters of a "name|pattern|name|pattern||" filter text, one per name.
QStringList NameFiltersOf(const std::wstring& filterText);

// A QFileDialog shown through the dialog runner: by default an existing settings file; other
// commands give their own filters and may ask for a file to write.
class QtSettingsFileChooser : public SettingsFileChooser {
public:
    explicit QtSettingsFileChooser(DialogRunner& dialogs);
    QtSettingsFileChooser(DialogRunner& dialogs, QStringList nameFilters, bool forSaving)
        : dialogs_(dialogs), nameFilters_(std::move(nameFilters)), forSaving_(forSaving)
    {
    }
    std::string Choose(QWidget* parent) override;

private:
    DialogRunner& dialogs_;
    QStringList nameFilters_;
    bool forSaving_ = false;
};
