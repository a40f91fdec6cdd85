// Every text the view draws passes through one TextSink, so long, odd or right-to-left texts are
// tamed in one place and tests can record exactly what was drawn and where.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

// One drawn text as the program composed it, with its anchor and the cell it was clipped to.
struct DrawnText {
    std::wstring text;
    QPoint at; // top-left of the text, or its top-right end for right-aligned texts
    QRect clip;
};

class TextSink {
public:
    using Recorder = std::function<void(const DrawnText&)>;

    // Tests install a recorder; the program runs without one.
    void SetRecorder(Recorder recorder) { recorder_ = std::move(recorder); }

    // Draws `text` with its top-left at (x, y), never outside `clip`.
    void Draw(QPainter& painter, int x, int y, const std::wstring& text, const QRect& clip) const;
    // As Draw, but a text too long for `clip` ends in an ellipsis at its right edge.
    void DrawCut(QPainter& painter, int x, int y, const std::wstring& text,
                 const QRect& clip) const;
    // Draws `text` so that it ends at x `right`, never outside `clip`.
    void DrawRightAligned(QPainter& painter, int right, int y, const std::wstring& text,
                          const QRect& clip) const;

    // Width in pixels of `text` as Draw would show it in a cell of `width` pixels.
    int Width(QPainter& painter, const std::wstring& text, int width) const;

    // The text as it is shown: control characters become blanks and it is cut to what a cell of
    // `width` pixels can show at all, so a huge subject costs no more than a short one.
    static QString Displayable(const std::wstring& text, int width);

private:
    void Record(const std::wstring& text, QPoint at, const QRect& clip) const;
    void DrawAt(QPainter& painter, int x, int y, const QString& text, const QRect& clip) const;

    const QStaticText& Laid(const QString& text, const QFont& font) const;

    struct FontCache {
        QFont font;
        std::unordered_map<QString, QStaticText> texts;
    };
    static constexpr size_t kFontLimit = 8;
    static constexpr size_t kTextLimit = 4096;

    Recorder recorder_;
    mutable std::vector<FontCache> cache_;
};
