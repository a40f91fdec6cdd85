// The drawing resources the view owns: fonts by face and height, pens, brushes (the day colours
// full and dimmed) and the pictures. Rebuilt from the settings whenever those change.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPixmap>
#include <array>
#include <cstdint>

#include "view/draw_settings.h"

class ViewResources {
public:
    // Day brush slots: weekdays 0 Sunday .. 6 Saturday, then the three special day kinds.
    enum DaySlot : int { kHolidaySlot = 7, kRestdaySlot = 8, kMemorialdaySlot = 9, kDaySlots = 10 };

    // `dark`: the desktop's palette is dark; default colours take their dark counterparts and
    // the texts, lines and backgrounds follow.
    explicit ViewResources(const DrawSettings& settings, bool dark = false);

    // A font of the face at `pixelHeight`; the desktop's sans font when the face is missing.
    static QFont MakeFont(const std::wstring& face, int pixelHeight);

    void RecreateFonts(const DrawSettings& settings);
    void RecreateDayBrushes(const DrawSettings& settings);

    const QFont& MainFont() const { return mainFont_; }
    const QFont& DetailFont() const { return detailFont_; }
    const QFont& HeaderFont() const { return headerFont_; }

    // The colour of every text the painters draw.
    const QColor& TextColor() const { return textColor_; }
    const QPen& BlackPen() const { return blackPen_; }
    const QPen& DashedPen() const { return dashedPen_; }
    const QPen& BarPen() const { return barPen_; }
    const QPen& TaskPen() const { return taskPen_; }
    const QPen& TodayPen() const { return todayPen_; }
    const QPen& SelectionPen() const { return selectionPen_; }
    const QPen& FocusPen() const { return focusPen_; }

    const QBrush& BarBrush() const { return barBrush_; }
    const QBrush& TaskBrush() const { return taskBrush_; }
    const QBrush& ConflictBrush() const { return conflictBrush_; }
    const QBrush& WhiteBrush() const { return whiteBrush_; }
    const QBrush& DayBrush(int slot, bool dimmed) const;

    const QPixmap& ButtonStrip(int strip, bool large) const; // strip 0 or 1
    const QPixmap& FocusIndicator(bool large) const;
    const QPixmap& ItemIcons() const { return itemIcons_; }
    // The now marker as one tile with its mask turned into transparency.
    const QPixmap& NowMarker() const { return nowMarker_; }
    const QPixmap& HeaderBackground() const { return headerBackground_; }
    const QPixmap& ScrollBar() const { return scrollBar_; }

private:
    void DarkenPictures();

    QFont mainFont_, detailFont_, headerFont_;
    QColor textColor_;
    QPen blackPen_, dashedPen_, barPen_, taskPen_, todayPen_, selectionPen_, focusPen_;
    QBrush barBrush_, taskBrush_, conflictBrush_, whiteBrush_;
    std::array<QBrush, kDaySlots> dayBrushes_;
    std::array<QBrush, kDaySlots> dimmedDayBrushes_;
    std::array<QPixmap, 4> buttonStrips_; // strip 1 small, large, strip 2 small, large
    std::array<QPixmap, 2> focusIndicators_;
    QPixmap itemIcons_, nowMarker_, headerBackground_, scrollBar_;
};
