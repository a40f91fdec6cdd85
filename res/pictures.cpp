// Where each picture lives among the compiled-in resources and how its tiles are laid out:
// every picture is one row of equal tiles, except the item icons, which wrap after ten. Icons
// are one file per size, named after the icon and its side.
#include "res/pictures.h"

#include "res/command_ids.h"

#include <span>

namespace res {

namespace {

// Pictures that exist in a 32- and a 16-pixel set carry the size in their file name.
bool HasTwoSizes(Picture picture)
{
    return picture == Picture::ButtonStrip1 || picture == Picture::ButtonStrip2 ||
           picture == Picture::FocusIndicator;
}

const char* BaseName(Picture picture)
{
    switch (picture) {
    case Picture::ButtonStrip1:
        return "buttons1";
    case Picture::ButtonStrip2:
        return "buttons2";
    case Picture::FocusIndicator:
        return "focus";
    case Picture::ItemIcons:
        return "item_icons";
    case Picture::NowMarker:
        return "now_marker";
    case Picture::HandleLeft:
        return "handle_left";
    case Picture::HandleRight:
        return "handle_right";
    case Picture::ScrollBar:
        return "scroll_bar";
    case Picture::HeaderBackground:
        return "header_back";
    }
    return "";
}

int TilesPerRow(Picture picture)
{
    return picture == Picture::ItemIcons ? kItemIconsPerRow : TileCount(picture);
}

const char* CommandIconName(int commandId)
{
    switch (commandId) {
    case cmd::ID_CUT:
        return "cmd_cut";
    case cmd::ID_COPY:
        return "cmd_copy";
    case cmd::ID_PASTE:
        return "cmd_paste";
    case cmd::ID_APP_ABOUT:
        return "cmd_about";
    case cmd::ID_KEYS_AND_MOUSE:
        return "cmd_help";
    default:
        return nullptr;
    }
}

// Each size is named explicitly so the icon picks the file drawn for it instead of scaling.
QIcon IconInSizes(const char* baseName, std::span<const int> sides)
{
    QIcon icon;
    for (const int side : sides) {
        icon.addFile(QStringLiteral(":/pictures/%1_%2.png").arg(QLatin1String(baseName)).arg(side),
                     QSize(side, side));
    }
    return icon;
}

} // namespace

QSize TileSize(Picture picture, bool large)
{
    switch (picture) {
    case Picture::ButtonStrip1:
    case Picture::ButtonStrip2:
    case Picture::FocusIndicator: {
        const int side = large ? kLargeTileSize : kSmallTileSize;
        return {side, side};
    }
    case Picture::ItemIcons:
        return {kItemIconSize, kItemIconSize};
    case Picture::NowMarker:
    case Picture::HandleLeft:
    case Picture::HandleRight:
    case Picture::ScrollBar:
        return {kSmallTileSize, kSmallTileSize};
    case Picture::HeaderBackground:
        return {1, 32};
    }
    return {};
}

int TileCount(Picture picture)
{
    switch (picture) {
    case Picture::ButtonStrip1:
    case Picture::ButtonStrip2:
        return kButtonCount / 2;
    case Picture::FocusIndicator:
        return 4;
    case Picture::ItemIcons:
        return 2 * kItemIconsPerRow;
    case Picture::NowMarker:
    case Picture::HandleLeft:
    case Picture::HandleRight:
        return 2;
    case Picture::ScrollBar:
        return 4;
    case Picture::HeaderBackground:
        return 1;
    }
    return 0;
}

QRect TileRect(Picture picture, bool large, int index)
{
    if (index < 0 || index >= TileCount(picture)) {
        return {};
    }
    const QSize size = TileSize(picture, large);
    const int perRow = TilesPerRow(picture);
    return {index % perRow * size.width(), index / perRow * size.height(), size.width(),
            size.height()};
}

Picture ButtonStrip(int buttonIndex)
{
    return buttonIndex < kButtonCount / 2 ? Picture::ButtonStrip1 : Picture::ButtonStrip2;
}

QRect ButtonTileRect(int buttonIndex, bool large)
{
    if (buttonIndex < 0 || buttonIndex >= kButtonCount) {
        return {};
    }
    return TileRect(ButtonStrip(buttonIndex), large, buttonIndex % (kButtonCount / 2));
}

QString PicturePath(Picture picture, bool large)
{
    QString path = QStringLiteral(":/pictures/") + QLatin1String(BaseName(picture));
    if (HasTwoSizes(picture)) {
        path += large ? QStringLiteral("_32") : QStringLiteral("_16");
    }
    return path + QStringLiteral(".png");
}

QImage LoadPictureImage(Picture picture, bool large)
{
    return QImage(PicturePath(picture, large));
}

QPixmap LoadPicture(Picture picture, bool large)
{
    return QPixmap(PicturePath(picture, large));
}

QIcon CommandBarIcon(int commandId)
{
    const char* name = CommandIconName(commandId);
    return name != nullptr ? IconInSizes(name, kCommandIconSizes) : QIcon();
}

QIcon ApplicationIcon()
{
    return IconInSizes("app_icon", kApplicationIconSizes);
}

} // namespace res
