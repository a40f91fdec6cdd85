// Copies between AppSettings and the view's plain settings values.
#include "view/app_settings_view_store.h"

#include "settings/app_settings.h"

namespace {

DrawSettings ReadDrawSettings(const AppSettings& s)
{
    DrawSettings d;
    d.ColorSunday = s.GetColorSunday();
    d.ColorMonday = s.GetColorMonday();
    d.ColorTuesday = s.GetColorTuesday();
    d.ColorWednesday = s.GetColorWednesday();
    d.ColorThursday = s.GetColorThursday();
    d.ColorFriday = s.GetColorFriday();
    d.ColorSaturday = s.GetColorSaturday();
    d.ColorHoliday = s.GetColorHoliday();
    d.ColorRestday = s.GetColorRestday();
    d.ColorMemorialday = s.GetColorMemorialday();
    d.ColorSelday = s.GetColorSelday();
    d.BrightReduceRate = s.GetBrightReduceRate();
    d.MainFontName = s.GetMainFontName();
    d.DetailFontName = s.GetDetailFontName();
    d.MainFontSize = s.GetMainFontSize();
    d.DetailFontSize = s.GetDetailFontSize();
    d.AppHideCharL = s.GetAppHideCharL();
    d.AppHideCharR = s.GetAppHideCharR();
    d.TaskStartChar = s.GetTaskStartChar();
    d.TaskDueChar = s.GetTaskDueChar();
    d.DispTextLen = s.GetDispTextLen();
    d.DispNoDue = s.GetDispNoDue();
    d.HolidayCategory = s.GetHolidayCategory();
    d.MemorialCategory = s.GetMemorialCategory();
    d.CategoryFilterType = s.GetCategoryCtrType();
    d.CategoryFilterTarget = s.GetCategoryCtrTarget();
    return d;
}

} // namespace

ViewSettings AppSettingsViewStore::Read() const
{
    const AppSettings& s = settings_;
    ViewSettings v;
    v.draw = ReadDrawSettings(s);
    v.OneHourPixel = s.GetOneHourPixel();
    v.DefaultStartHour = s.GetDefaultStartHour();
    v.TaskAreaWidth = s.GetTaskAreaWidth();
    v.InfoAreaHeight = s.GetInfoAreaHeight();
    v.InfoAreaWidth = s.GetInfoAreaWidth();
    v.DispWeekCount = s.GetDispWeekCount();
    v.CalendarType = s.GetCalendarType();
    v.TaskAreaVisible = s.GetTaskAreaVisible();
    v.CalendarAreaVisible = s.GetCalendarAreaVisible();
    v.InfoAreaVisible = s.GetInfoAreaVisible();
    v.InfoAreaFixBottom = s.GetInfoAreaFixBottom();
    v.CntFromToday = s.GetCntFromToday();
    v.StartDow = s.GetStartDow();
    v.FitHoursToWidth = s.GetFitHoursToWidth() != 0;
    v.UsePopup = s.GetUsePopup();
    v.hardwareKeys = {s.GetKeyToTool(), s.GetKeyToMain(), s.GetKeyToDetail(), s.GetKeyToToday(),
                      s.GetKeyCalendarGantt()};
    return v;
}

void AppSettingsViewStore::WriteDisplaySwitches(const DisplaySwitches& switches)
{
    settings_.SetOneHourPixel(switches.OneHourPixel);
    settings_.SetCalendarType(switches.CalendarType);
    settings_.SetTaskAreaVisible(switches.TaskAreaVisible);
    settings_.SetCalendarAreaVisible(switches.CalendarAreaVisible);
    settings_.SetInfoAreaVisible(switches.InfoAreaVisible);
    settings_.SetInfoAreaFixBottom(switches.InfoAreaFixBottom);
    settings_.SetFitHoursToWidth(switches.FitHoursToWidth ? 1 : 0);
}
