// The function key dialog: two functions on their own, the three focus modes in "Change Mode".
#include "dialogs/func_key_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"

namespace {

constexpr int kFirstDigitCode = 48; // "0"
constexpr int kButtonCount = 10;

struct FuncKeyRow {
    const char* label;
    IntSetting setting;
};

// In the order of kFuncKeyControls; the last three are the focus modes.
constexpr std::array<FuncKeyRow, 5> kRows = {{
    {"Move to Today", IntSetting::KeyToToday},
    {"Calendar / GanttChart", IntSetting::KeyCalendarGantt},
    {"Tool Button Mode", IntSetting::KeyToTool},
    {"Main Area Move Mode", IntSetting::KeyToMain},
    {"Detail Sel Mode", IntSetting::KeyToDetail},
}};
constexpr int kFirstModeRow = 2;

QStringList ButtonNames()
{
    QStringList names{QStringLiteral("----")};
    for (int digit = 0; digit < kButtonCount; ++digit) {
        names << QStringLiteral("%1 Button").arg(digit);
    }
    return names;
}

} // namespace

int FuncKeyIndexOfCode(int code)
{
    const bool digit = code >= kFirstDigitCode && code < kFirstDigitCode + kButtonCount;
    return digit ? code - kFirstDigitCode + 1 : 0;
}

int FuncKeyCodeOfIndex(int index)
{
    return index >= 1 && index <= kButtonCount ? kFirstDigitCode - 1 + index : 0;
}

CFuncKeyDlg::CFuncKeyDlg(AppSettings& settings, MessageService& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages)
{
    setWindowTitle(QStringLiteral("Func Key"));
    auto* functions = new QFormLayout;
    auto* modes = new QGroupBox(QStringLiteral("Change Mode"));
    auto* modeForm = new QFormLayout(modes);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        lists_[i] = MakeDropDown(kFuncKeyControls[i], ButtonNames());
        lists_[i]->setCurrentIndex(FuncKeyIndexOfCode(settings.Get(kRows[i].setting)));
        QFormLayout* form = i < kFirstModeRow ? functions : modeForm;
        form->addRow(QString::fromLatin1(kRows[i].label), lists_[i]);
    }

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("You can use Dial Button for Function"));
    heading->setWordWrap(true);
    layout->addWidget(heading);
    layout->addLayout(functions);
    layout->addWidget(modes);
    layout->addStretch(1);
    AddOkCancel(*layout, *this);
}

void CFuncKeyDlg::accept()
{
    std::array<int, 5> indexes{};
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        indexes[i] = lists_[i]->currentIndex();
    }
    if (const auto refusal = CheckFuncKeys(indexes)) {
        ShowRefusal(messages_, *refusal, *this);
        return;
    }
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        settings_.Set(kRows[i].setting, FuncKeyCodeOfIndex(indexes[i]));
    }
    QDialog::accept();
}
