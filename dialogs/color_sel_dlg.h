// "Color sel": a red, green and blue slider picker for one settings colour. The preview and the
// hexadecimal text follow the sliders when "TEST" is pressed; OK takes the sliders as they are.
#pragma once

#include <QDialog>
#include <cstdint>

class ColorSwatch;
class QLineEdit;
class QSlider;

class CColorSelDlg : public QDialog {
    Q_OBJECT
public:
    explicit CColorSelDlg(uint32_t colorRef, QWidget* parent = nullptr);

    // The colour of the sliders once the dialog closed with OK; the initial colour before that.
    uint32_t Color() const { return color_; }

    // "%.2x%.2x%.2x" of red, green and blue.
    static QString HexText(uint32_t colorRef);

    void accept() override;

private:
    static QSlider* MakeSlider(int id, int value);
    uint32_t SliderColor() const;
    void Test();

    uint32_t color_;
    QSlider* red_;
    QSlider* green_;
    QSlider* blue_;
    QLineEdit* rgbText_;
    ColorSwatch* preview_;
};
