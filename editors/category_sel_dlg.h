// "Category Sel": composes a category text by moving names between the chosen list (top) and
// the names of the category edit list still available (bottom). The "..." buttons of the
// editors and of the category settings open it.
#pragma once

#include <QDialog>
#include <string>

#include "editors/category_selection.h"

class AppSettings;
class DialogRunner;
class QListWidget;

class CCategorySelDlg : public QDialog {
    Q_OBJECT
public:
    CCategorySelDlg(const std::wstring& text, const AppSettings& settings,
                    QWidget* parent = nullptr);

    // The chosen names joined by ", ".
    std::wstring Text() const { return selection_.Text(); }

    // Opens the dialog on text through runner; on OK replaces text and answers true.
    static bool Choose(DialogRunner& runner, const AppSettings& settings, std::wstring& text,
                       QWidget* parent = nullptr);

private:
    void AddSelected();
    void RemoveSelected();
    void ShowLists(int chosenRow, int availableRow);

    CategorySelection selection_;
    QListWidget* chosen_;
    QListWidget* available_;
};
