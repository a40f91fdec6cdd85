// Small drawing helpers shared by the painters: rectangles as the layout gives them (right and
// bottom one past the last pixel), lines, icon tiles and the category filter of the lists.
#pragma once

#include <QRect>
#include <string>

#include "view/draw_settings.h"
#include "view/view_layout.h"

class QBrush;
class QPainter;
class QPen;
class TextSink;
class ViewResources;

QRect ToQRect(const PixelRect& rect);

// A filled rectangle with its outline in the pen, as the outline-and-fill primitive draws it.
void DrawRectangle(QPainter& painter, const PixelRect& rect, const QPen& pen, const QBrush& brush);
// Only the outline; wide pens are centred on the edge.
void FrameRectangle(QPainter& painter, const PixelRect& rect, const QPen& pen);
// A line from x0 up to, not including, x1 (or y0 to y1), as the platform's line primitive draws.
void HorizontalLine(QPainter& painter, int x0, int x1, int y);
void VerticalLine(QPainter& painter, int x, int y0, int y1);
// A horizontal or vertical line in either direction, without its end point.
void DrawLine(QPainter& painter, const PixelLine& line);

// Item icon tile `icon` (res::ItemIcon) stretched to size x size with its top-left at `at`.
void DrawItemIcon(QPainter& painter, const ViewResources& resources, int icon, PixelPoint at,
                  int size);
// The part `shown` of an item icon stretched over `square`; the rest is cut off.
void DrawItemIcon(QPainter& painter, const ViewResources& resources, int icon,
                  const PixelRect& square, const PixelRect& shown);

// The view's category filter: mode 1 shows only items sharing a category with the target
// list, mode 2 hides them, any other mode shows everything.
bool PassesCategoryFilter(const DrawSettings& settings, const std::wstring& categories);

// The subject as the chart and the task strip show it: cut to DispTextLen when that is above 0.
std::wstring CutSubject(const DrawSettings& settings, const std::wstring& subject);

// An item's text (subject, place) made an isolated run of its own inside a composed line, so
// its right-to-left letters and direction controls cannot reorder what follows it: a text with
// any of them is wrapped in FSI ... PDI with its own controls balanced (unmatched closers
// dropped, open ones closed); any other text comes back as it is.
std::wstring IsolatedText(const std::wstring& text);
// Draws a subject at (x, y) within `cell`. With a free display length (0) the subject is whole,
// so it is cut with an ellipsis where its item ends (x `end`) instead of running over the next.
void DrawSubject(QPainter& painter, const TextSink& text, const DrawSettings& settings, int x,
                 int y, const std::wstring& subject, const QRect& cell, int end);
