// The "Keys and Mouse" help: every picture button, desktop key, focus-area key, digit key and
// mouse gesture, made from the command table, the key table and the digit assignments, so the
// help page, the tooltips and the README's table never disagree with what the program does.
#pragma once

#include <string>
#include <vector>

#include "res/help_table.h"
#include "view/key_input.h"

using res::HelpRow;
using res::HelpSection;

// The picture button's name: its command's menu text, or its own name for the buttons that run
// no command; empty for the blank buttons.
std::wstring ButtonName(int button);
// The picture buttons that have a name, in order; the blank tiles are no buttons.
std::vector<int> NamedButtons();
// The keys that run `commandId`, as shown to a person ("Ctrl+N", "PgUp / PgDown" style);
// empty when it has none.
std::wstring CommandKeyText(int commandId);
// "Name (Key)", or the name alone for a command without a key.
std::wstring NameWithKey(const std::wstring& name, int commandId);
// The tooltip of picture button `button`; empty for the blank buttons.
std::wstring ButtonToolTip(int button);

// Buttons, keys, focus areas, digit keys (as `assignments` has them), mouse and the editing
// keys that stand in for the mouse's drags and menu, in that order.
std::vector<HelpSection> KeysAndMouse(const keys::HardwareKeys& assignments);
// The same as Markdown: a heading and a two-column table per section.
std::string KeysAndMouseMarkdown(const std::vector<HelpSection>& sections);
