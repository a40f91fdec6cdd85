// The help tables. The texts come from the string table and the menus; which button runs which
// command comes from the view's command rows, and the keys from the accelerator table.
#include "view/keys_and_mouse.h"

#include <QKeySequence>
#include <QString>
#include <algorithm>

#include "res/command_ids.h"
#include "res/menus.h"
#include "res/pictures.h"
#include "res/string_table.h"
#include "view/view_commands.h"

namespace {

// "keys\tdoes" rows of the string table.
HelpRow SplitRow(int id)
{
    const std::wstring text = res::LoadString(id);
    const size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        return {text, {}};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

// The command as its menu shows it: the shown text where the view replaces the resource's.
std::wstring CommandDoes(int id)
{
    if (std::optional<std::wstring> shown = ViewCommandUpdate(id, {}).text) {
        return *shown;
    }
    const std::wstring name = res::CommandName(id);
    return name.empty() && id == cmd::ID_DELETE_ITEM ? res::LoadString(res::IDS_DELETE_ITEM) : name;
}

HelpSection ButtonSection()
{
    HelpSection section{res::LoadString(res::IDS_HELP_BUTTONS), {}};
    for (int button : NamedButtons()) {
        section.rows.push_back({CommandKeyText(ButtonCommand(button)), ButtonName(button), button});
    }
    return section;
}

HelpSection KeySection()
{
    HelpSection section{res::LoadString(res::IDS_HELP_KEYS), {}};
    std::vector<int> seen;
    for (const res::Accelerator& accelerator : res::LoadAccelerators()) {
        if (std::find(seen.begin(), seen.end(), accelerator.id) != seen.end()) {
            continue;
        }
        seen.push_back(accelerator.id);
        section.rows.push_back({CommandKeyText(accelerator.id), CommandDoes(accelerator.id)});
    }
    return section;
}

HelpSection RowsSection(int titleId, int first, int last)
{
    HelpSection section{res::LoadString(titleId), {}};
    for (int id = first; id <= last; ++id) {
        section.rows.push_back(SplitRow(id));
    }
    return section;
}

// In the order the assignments are tried; an unassigned button (0) is left out.
HelpSection DigitSection(const keys::HardwareKeys& keys)
{
    HelpSection section{res::LoadString(res::IDS_HELP_DIGITS), {}};
    const int codes[] = {keys.KeyToTool, keys.KeyToMain, keys.KeyToDetail, keys.KeyToTOday,
                         keys.KeyCalendarGantt};
    for (int i = 0; i < 5; ++i) {
        if (codes[i] >= '0' && codes[i] <= '9') {
            section.rows.push_back({std::wstring(1, static_cast<wchar_t>(codes[i])),
                                    res::LoadString(res::IDS_HELP_DIGIT_FIRST + i)});
        }
    }
    return section;
}

std::string Cell(const std::wstring& text)
{
    return QString::fromStdWString(text).replace('|', QStringLiteral("\\|")).toStdString();
}

} // namespace

std::wstring ButtonName(int button)
{
    const int command = ButtonCommand(button);
    return command != 0 ? res::CommandName(command)
                        : res::LoadString(res::IDS_BUTTON_NAME_FIRST + button);
}

std::vector<int> NamedButtons()
{
    std::vector<int> buttons;
    for (int button = 0; button < res::kButtonCount; ++button) {
        if (!ButtonName(button).empty()) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

std::wstring CommandKeyText(int commandId)
{
    QStringList shown;
    for (const std::string& keys : res::CommandKeys(commandId)) {
        shown << QKeySequence(QString::fromStdString(keys)).toString(QKeySequence::NativeText);
    }
    return shown.join(QStringLiteral(" / ")).toStdWString();
}

std::wstring NameWithKey(const std::wstring& name, int commandId)
{
    const std::wstring keys = CommandKeyText(commandId);
    return keys.empty() ? name : name + L" (" + keys + L")";
}

std::wstring ButtonToolTip(int button)
{
    const std::wstring name = ButtonName(button);
    return name.empty() ? name : NameWithKey(name, ButtonCommand(button));
}

std::vector<HelpSection> KeysAndMouse(const keys::HardwareKeys& assignments)
{
    return {
        ButtonSection(),
        KeySection(),
        RowsSection(res::IDS_HELP_FOCUS, res::IDS_HELP_FOCUS_FIRST, res::IDS_HELP_FOCUS_FIRST + 3),
        DigitSection(assignments),
        RowsSection(res::IDS_HELP_MOUSE, res::IDS_HELP_MOUSE_FIRST, res::IDS_HELP_MOUSE_LAST),
        RowsSection(res::IDS_HELP_KEY_EDITING, res::IDS_HELP_KEY_EDITING_FIRST,
                    res::IDS_HELP_KEY_EDITING_LAST)};
}

std::string KeysAndMouseMarkdown(const std::vector<HelpSection>& sections)
{
    std::string text;
    const std::string header = "| " + Cell(res::LoadString(res::IDS_HELP_COLUMN_KEY)) + " | " +
                               Cell(res::LoadString(res::IDS_HELP_COLUMN_DOES)) + " |\n|---|---|\n";
    for (const HelpSection& section : sections) {
        text += "### " + Cell(section.title) + "\n\n" + header;
        for (const HelpRow& row : section.rows) {
            text += "| " + Cell(row.keys) + " | " + Cell(row.does) + " |\n";
        }
        text += "\n";
    }
    return text;
}
