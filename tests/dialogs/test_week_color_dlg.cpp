// The week-and-colour dialog and the colour picker: what OK and Cancel write, the rate refusal,
// "Initialize" asked first, the picker's channels and text, and swatches painted in the colours
// they hold.
#include <QSlider>

#include "dialog_test_support.h"
#include "dialogs/color_sel_dlg.h"
#include "dialogs/week_color_dlg.h"

namespace {

class WeekColorDlgTest : public DialogTest {};

void SetSliders(QDialog& picker, int red, int green, int blue)
{
    Control<QSlider>(picker, 1149)->setValue(red);
    Control<QSlider>(picker, 1153)->setValue(green);
    Control<QSlider>(picker, 1154)->setValue(blue);
}

TEST_F(WeekColorDlgTest, OkWritesTheWeekdaysRateAndPickedColoursOnly)
{
    dialogs.Queue(AcceptAfter([](QDialog& week) {
        Click(week, 1073); // Memorial: the picker below answers
        Select(week, 1164, 1);
        Select(week, 1102, 6);
        Type(week, 1183, QStringLiteral("80"));
    }));
    dialogs.Queue(AcceptAfter([](QDialog& picker) { SetSliders(picker, 1, 2, 3); }));
    EXPECT_TRUE(RunWeekColorDialog(context));

    AppSettings expected;
    expected.SetStartDow(1);
    expected.SetRestDow(6);
    expected.SetBrightReduceRate(80);
    expected.SetColorMemorialday(0x030201);
    ExpectSameSettings(settings, expected);
}

TEST_F(WeekColorDlgTest, CancelKeepsEverythingAfterPickingAndInitializing)
{
    settings.SetColorSunday(0x123456);
    settings.SetStartDow(2);
    const AppSettings before = settings;
    dialogs.Queue([](QDialog& week) {
        Click(week, 1176);
        Click(week, 1065);
        EXPECT_EQ(Selected(week, 1164), 7);
        EXPECT_EQ(static_cast<CWeekColorDlg&>(week).WorkingColor(0), 0xFFC8FFu);
        return static_cast<int>(DialogRejected);
    });
    dialogs.Queue(AcceptAfter([](QDialog& picker) { SetSliders(picker, 9, 9, 9); }));
    EXPECT_FALSE(RunWeekColorDialog(context));
    EXPECT_TRUE(dialogs.Exhausted());
    ExpectSameSettings(settings, before);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, L"Initialize color setting. OK?");
    EXPECT_EQ(messages.shown()[0].caption, L"Confirm");
    EXPECT_EQ(messages.shown()[0].flags, MB_OKCANCEL | MB_ICONINFORMATION);
}

TEST_F(WeekColorDlgTest, RefusedRateStoresNothingAndFocusesTheRate)
{
    CWeekColorDlg dialog(settings, messages, dialogs);
    Type(dialog, 1183, QStringLiteral("abc"));
    Select(dialog, 1164, 3);
    EXPECT_FALSE(PressOk(dialog));
    EXPECT_TRUE(FocusIsOn(dialog, 1183));
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"Please set between 1 to 100"});
    ExpectSameSettings(settings, AppSettings());
}

TEST_F(WeekColorDlgTest, SwatchesShowTheirColours)
{
    settings.SetColorSunday(0x0000FF);  // red
    settings.SetColorHoliday(0xFF0000); // blue
    CWeekColorDlg dialog(settings, messages, dialogs);
    dialog.resize(480, 360);
    dialog.show();
    const QImage image = dialog.grab().toImage();
    const auto swatchColor = [&](int buttonId) {
        const QWidget* button = Control(dialog, buttonId);
        const QPoint left = button->mapTo(&dialog, QPoint(-10, button->height() / 2));
        return image.pixelColor(left * image.devicePixelRatio()).rgb();
    };
    EXPECT_EQ(swatchColor(1176), qRgb(255, 0, 0));
    EXPECT_EQ(swatchColor(1072), qRgb(0, 0, 255));
    EXPECT_EQ(swatchColor(1071), qRgb(200, 255, 255));
}

TEST(ColorSelDlg, ChannelsTextAndResult)
{
    CColorSelDlg picker(0xB45050);
    EXPECT_EQ(Control<QSlider>(picker, 1149)->value(), 80);
    EXPECT_EQ(Control<QSlider>(picker, 1153)->value(), 80);
    EXPECT_EQ(Control<QSlider>(picker, 1154)->value(), 180);
    EXPECT_EQ(Control<QLineEdit>(picker, 1030)->text(), QStringLiteral("5050b4"));

    SetSliders(picker, 255, 0, 16);
    EXPECT_EQ(Control<QLineEdit>(picker, 1030)->text(), QStringLiteral("5050b4"));
    Click(picker, 1161);
    EXPECT_EQ(Control<QLineEdit>(picker, 1030)->text(), QStringLiteral("ff0010"));
    EXPECT_EQ(picker.Color(), 0xB45050u);
    picker.accept();
    EXPECT_EQ(picker.Color(), 0x1000FFu);

    CColorSelDlg untouched(0x00C4FFC4);
    untouched.accept();
    EXPECT_EQ(untouched.Color(), 0xC4FFC4u);
}

}  // namespace
