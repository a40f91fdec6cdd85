// Key dispatch of the view: the digit keys first, in the assignments' order, then the keys of
// the focused area.
#include "view/key_input.h"

#include <QKeySequence>

#include "res/menus.h"

namespace keys {
namespace {

constexpr int kFirstDigit = 0x30;
constexpr int kLastDigit = 0x39;
constexpr int kButtonsPerStrip = 10;

bool Assigned(int setting, int code)
{
    return setting != 0 && setting == code;
}

Action ButtonBarKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Right:
        return Action::ButtonRight;
    case Qt::Key_Left:
        return Action::ButtonLeft;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return Action::ButtonOtherStrip;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Action::ButtonEnter;
    default:
        return Action::None;
    }
}

Action BodyKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Down:
        return Action::BodyDown;
    case Qt::Key_Up:
        return Action::BodyUp;
    case Qt::Key_Right:
        return Action::BodyRight;
    case Qt::Key_Left:
        return Action::BodyLeft;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Action::BodyEnter;
    default:
        return Action::None;
    }
}

Action DetailKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up:
        return Action::DetailUp;
    case Qt::Key_Down:
        return Action::DetailDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Action::FocusButtonBar;
    default:
        return Action::None;
    }
}

} // namespace

DigitResult DigitKey(int code, const HardwareKeys& assignments, bool detailVisible)
{
    if (code < kFirstDigit || code > kLastDigit) {
        return {};
    }
    if (Assigned(assignments.KeyToTool, code)) {
        return {true, Action::FocusButtonBar};
    }
    if (Assigned(assignments.KeyToMain, code)) {
        return {true, Action::FocusBody};
    }
    if (Assigned(assignments.KeyToDetail, code)) {
        return {true, detailVisible ? Action::FocusDetail : Action::None};
    }
    if (Assigned(assignments.KeyToTOday, code)) {
        return {true, Action::SelectToday};
    }
    if (Assigned(assignments.KeyCalendarGantt, code)) {
        return {true, Action::CalendarOrGantt};
    }
    return {};
}

Action AreaKey(int focusArea, int qtKey)
{
    switch (focusArea) {
    case kButtonBar:
        return ButtonBarKey(qtKey);
    case kBody:
        return BodyKey(qtKey);
    case kDetail:
        return DetailKey(qtKey);
    default:
        return Action::None;
    }
}

std::optional<int> FocusOf(Action action)
{
    switch (action) {
    case Action::FocusButtonBar:
        return kButtonBar;
    case Action::FocusBody:
        return kBody;
    case Action::FocusDetail:
        return kDetail;
    default:
        return std::nullopt;
    }
}

std::optional<nav::BodyKey> BodyKeyOf(Action action)
{
    switch (action) {
    case Action::BodyDown:
        return nav::BodyKey::Down;
    case Action::BodyUp:
        return nav::BodyKey::Up;
    case Action::BodyRight:
        return nav::BodyKey::Right;
    case Action::BodyLeft:
        return nav::BodyKey::Left;
    default:
        return std::nullopt;
    }
}

int MoveButtonFocus(int focused, Action action)
{
    switch (action) {
    case Action::ButtonRight:
        return (focused + 1) % kButtonCount;
    case Action::ButtonLeft:
        return (focused + kButtonCount - 1) % kButtonCount;
    case Action::ButtonOtherStrip:
        return focused < kButtonsPerStrip ? focused + kButtonsPerStrip : focused - kButtonsPerStrip;
    default:
        return focused;
    }
}

int AcceleratorCommand(int qtKey, Qt::KeyboardModifiers modifiers,
                       const std::function<bool(int)>& runnable)
{
    const auto match = [&](Qt::KeyboardModifiers mods) {
        const QKeySequence pressed(QKeyCombination(mods, Qt::Key(qtKey)));
        for (const res::Accelerator& accelerator : res::LoadAccelerators()) {
            if (QKeySequence(accelerator.keys) == pressed && runnable(accelerator.id)) {
                return accelerator.id;
            }
        }
        return 0;
    };
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const int id = match(mods);
    // "+" needs Shift on most layouts; Ctrl+Shift+"+" is still zoom in.
    if (id == 0 && qtKey == Qt::Key_Plus) {
        return match(mods & ~Qt::ShiftModifier);
    }
    return id;
}

bool ButtonRunsOnEnter(int index)
{
    return (index >= 0 && index <= 13) || index == 15 || index == 16;
}

bool IsModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

int NextFocusArea(int area, bool forward, bool detailVisible)
{
    const int areas = detailVisible ? 3 : 2;
    if (area < kButtonBar || area >= areas) {
        return kBody;
    }
    return (area + (forward ? 1 : areas - 1)) % areas;
}

// Inset by the frame's pen so the whole frame lies inside its area.
std::optional<PixelRect> FocusAreaRect(const ViewLayout& layout, int area)
{
    switch (area) {
    case kButtonBar:
        return PixelRect{0, 0, layout.clientWidth, layout.buttonBarHeight}.Inset(1);
    case kBody:
        return PixelRect{0, layout.buttonBarHeight + 1, layout.chartRight, layout.chartBottom}
            .Inset(1);
    case kDetail:
        if (layout.detailVisible) {
            return layout.detailRect.Inset(1);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace keys
