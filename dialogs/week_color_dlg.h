// "Week & Color Set": the first and the rest day of the week, the eleven day colours and the
// dimming rate. The colours are edited on a working copy through the colour picker; the settings
// change only on OK.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "settings/app_settings.h"

class ColorSwatch;
class DialogRunner;
class MessageService;
class QComboBox;
class QLineEdit;

class CWeekColorDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColorCount = 11;

    CWeekColorDlg(AppSettings& settings, MessageService& messages, DialogRunner& dialogs,
                  QWidget* parent = nullptr);

    // The working colour of row i (Sunday .. Saturday, Holiday, Restday, Memorial, DaySelBox).
    uint32_t WorkingColor(int i) const;

    void accept() override;

private:
    void AddColorRow(int i, class QGridLayout& grid, int row, int column);
    void PickColor(int i);
    void Initialize();

    AppSettings& settings_;
    MessageService& messages_;
    DialogRunner& dialogs_;
    QComboBox* startDow_;
    QComboBox* restDow_;
    QLineEdit* rate_;
    std::array<ColorSwatch*, kColorCount> swatches_{};
};
