// A small rectangle filled with a settings colour (0x00BBGGRR) inside a one-pixel black outline:
// how the colour dialogs show the colour a row or the picker holds.
#pragma once

#include <QWidget>
#include <cstdint>

class ColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColorSwatch(uint32_t colorRef = 0, QWidget* parent = nullptr);

    uint32_t ColorRef() const { return colorRef_; }
    void SetColorRef(uint32_t colorRef);

    // Red, green and blue of a settings colour, and the colour of three channels.
    static uint32_t FromChannels(int red, int green, int blue);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t colorRef_;
};
