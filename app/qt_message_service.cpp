// Maps the program's button sets, icons and answers onto QMessageBox.
#include "app/qt_message_service.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ButtonsOf(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ResultOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}

}  // namespace

int QtMessageService::MessageBox(const std::wstring& text, const std::wstring& caption,
                                 unsigned flags)
{
    QMessageBox box(IconOf(flags), QString::fromStdWString(caption), QString::fromStdWString(text),
                    ButtonsOf(flags), parent_);
    // Closing the box with Escape or the title bar counts as Cancel where there is one.
    if (box.standardButtons() & QMessageBox::Cancel) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return ResultOf(box.exec());
}
