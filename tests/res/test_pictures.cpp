// The compiled-in pictures: strips at their exact size, tiles drawn and distinct, icons per size.
#include "res/pictures.h"

#include "res/command_ids.h"

#include <QIcon>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {
using res::Picture;

// Every tile is drawn, and no two are alike unless both are in `alike`.
void ExpectDrawnAndDistinct(const std::vector<QImage>& tiles, const std::vector<int>& alike = {})
{
    const auto isAlike = [&](int i) { return std::count(alike.begin(), alike.end(), i) > 0; };
    for (int i = 0; i < int(tiles.size()); ++i) {
        QImage clear(tiles[i].size(), QImage::Format_ARGB32_Premultiplied);
        clear.fill(Qt::transparent);
        EXPECT_NE(tiles[i].convertToFormat(clear.format()), clear) << i;
        for (int other = 0; other < i; ++other) {
            EXPECT_EQ(tiles[i] == tiles[other], isAlike(i) && isAlike(other)) << i << "/" << other;
        }
    }
}

TEST(Pictures, EveryPictureLoadsAtTilesTimesTileSize)
{
    for (const Picture picture :
         {Picture::ButtonStrip1, Picture::ButtonStrip2, Picture::FocusIndicator, Picture::ItemIcons,
          Picture::NowMarker, Picture::HandleLeft, Picture::HandleRight, Picture::ScrollBar,
          Picture::HeaderBackground}) {
        for (const bool large : {false, true}) {
            SCOPED_TRACE(res::PicturePath(picture, large).toStdString());
            const QImage image = res::LoadPictureImage(picture, large);
            const QSize tile = res::TileSize(picture, large);
            const int count = res::TileCount(picture);
            const int perRow = picture == Picture::ItemIcons ? res::kItemIconsPerRow : count;
            EXPECT_EQ(image.size(), QSize(tile.width() * perRow, tile.height() * (count / perRow)));
        }
    }
    // Item icons wrap to a second row; indices outside the strip have no tile.
    EXPECT_EQ(res::TileRect(Picture::ItemIcons, false, res::kIconAppointment),
              QRect(0, 12, 12, 12));
    EXPECT_EQ(res::TileRect(Picture::ItemIcons, false, 20), QRect());
    EXPECT_EQ(res::ButtonTileRect(res::kButtonTasksOnly, false), QRect(48, 0, 16, 16));
    EXPECT_EQ(res::ButtonTileRect(res::kButtonCount, false), QRect());
}

// Blank buttons are bare background, alike; every other button and item icon is distinct.
TEST(Pictures, TilesAreDrawnAndDistinct)
{
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large);
        std::vector<QImage> buttons;
        buttons.reserve(res::kButtonCount);
        for (int index = 0; index < res::kButtonCount; ++index) {
            buttons.push_back(res::LoadPictureImage(res::ButtonStrip(index), large)
                                  .copy(res::ButtonTileRect(index, large))
                                  .convertToFormat(QImage::Format_ARGB32));
        }
        ExpectDrawnAndDistinct(buttons, {res::kButtonBlank14, res::kButtonBlank17,
                                         res::kButtonBlank18, res::kButtonBlank19});
    }
    std::vector<QImage> icons;
    for (int icon = res::kIconHiddenBefore; icon <= res::kIconMoreItems; ++icon) {
        icons.push_back(res::LoadPictureImage(Picture::ItemIcons, false)
                            .copy(res::TileRect(Picture::ItemIcons, false, icon))
                            .convertToFormat(QImage::Format_ARGB32));
    }
    ExpectDrawnAndDistinct(icons);
}

// Each size is a file drawn for it: the icon hands out that file, not a neighbour scaled.
TEST(Pictures, IconsAreDrawnAtEverySize)
{
    // clang-format off
    struct Case { QIcon icon; const char* file; std::vector<int> sides; };
    // clang-format on
    const Case cases[] = {{res::CommandBarIcon(cmd::ID_CUT), "cmd_cut", {24, 48}},
                          {res::ApplicationIcon(), "app_icon", {16, 22, 24, 32, 48, 64, 128, 256}}};
    std::vector<QImage> drawn;
    for (const Case& c : cases) {
        EXPECT_EQ(c.icon.availableSizes().size(), qsizetype(c.sides.size())) << c.file;
        for (const int side : c.sides) {
            const QString path = QStringLiteral(":/pictures/%1_%2.png").arg(c.file).arg(side);
            SCOPED_TRACE(path.toStdString());
            const QImage file = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(file.size(), QSize(side, side));
            EXPECT_EQ(c.icon.pixmap(side, side).toImage().convertToFormat(file.format()), file);
            drawn.push_back(file);
        }
    }
    ExpectDrawnAndDistinct(drawn);
    for (const int id : {int(cmd::ID_TODAY), 0}) {
        EXPECT_TRUE(res::CommandBarIcon(id).isNull()) << id;
    }
}
} // namespace
