// The character set dialog: font rows under "Font Name and Size", then the length and the two
// marker pairs. An OK that refuses a size keeps what it stored before it, as every OK does.
#include "dialogs/char_set_dlg.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/settings_checks.h"
#include "dialogs/settings_controls.h"

namespace {

QComboBox* MakeFontField(int id, const std::wstring& face)
{
    auto* field = Named(new QComboBox, id);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->addItems(QFontDatabase::families());
    field->setEditText(ToQString(face));
    field->setMinimumContentsLength(12);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return field;
}

QLineEdit* MakeTextField(int id, const std::wstring& text)
{
    return Named(new QLineEdit(ToQString(text)), id);
}

// A label and one or two fields on a row of `grid`; a second field shares the row.
void AddRow(QGridLayout& grid, int row, const QString& label, QWidget* first,
            QWidget* second = nullptr)
{
    auto* text = new QLabel(label);
    text->setBuddy(first);
    grid.addWidget(text, row, 0);
    grid.addWidget(first, row, 1, 1, second != nullptr ? 1 : 2);
    if (second != nullptr) {
        grid.addWidget(second, row, 2);
    }
}

} // namespace

CCharSetDlg::CCharSetDlg(AppSettings& settings, MessageService& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages)
{
    setWindowTitle(QStringLiteral("Char Set"));
    mainFont_ = MakeFontField(1030, settings.GetMainFontName());
    mainSize_ = MakeNumberField(1115, settings.GetMainFontSize());
    detailFont_ = MakeFontField(1031, settings.GetDetailFontName());
    detailSize_ = MakeNumberField(1116, settings.GetDetailFontSize());
    textLength_ = MakeNumberField(1032, settings.GetDispTextLen());
    taskStart_ = MakeTextField(1033, settings.GetTaskStartChar());
    taskDue_ = MakeTextField(1034, settings.GetTaskDueChar());
    hideLeft_ = MakeTextField(1035, settings.GetAppHideCharL());
    hideRight_ = MakeTextField(1036, settings.GetAppHideCharR());
    const int numberWidth =
        mainSize_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
    for (QLineEdit* number : {mainSize_, detailSize_}) {
        number->setMaximumWidth(numberWidth);
    }

    auto* fonts = new QGroupBox(QStringLiteral("Font Name and Size"));
    auto* fontGrid = new QGridLayout(fonts);
    AddRow(*fontGrid, 0, QStringLiteral("List Area"), mainFont_, mainSize_);
    AddRow(*fontGrid, 1, QStringLiteral("Detail Area"), detailFont_, detailSize_);
    fontGrid->setColumnStretch(1, 1);

    auto* grid = new QGridLayout;
    AddRow(*grid, 0, QStringLiteral("Display Length(0 is Free)"), textLength_);
    AddRow(*grid, 1, QStringLiteral("Task Start && Due date"), taskStart_, taskDue_);
    AddRow(*grid, 2, QStringLiteral("Appoint Hide Char"), hideLeft_, hideRight_);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts);
    layout->addLayout(grid);
    layout->addStretch(1);
    AddOkCancel(*layout, *this);
}

void CCharSetDlg::accept()
{
    const int mainSize = NumberIn(mainSize_);
    const int detailSize = NumberIn(detailSize_);
    const auto refusal = CheckFontSizes(mainSize, detailSize);
    WriteUntil(
        {
            {1030, [&] { settings_.SetMainFontName(mainFont_->currentText().toStdWString()); }},
            {1115, [&] { settings_.SetMainFontSize(mainSize); }},
            {1031, [&] { settings_.SetDetailFontName(detailFont_->currentText().toStdWString()); }},
            {1116, [&] { settings_.SetDetailFontSize(detailSize); }},
            {1032, [&] { settings_.SetDispTextLen(NumberIn(textLength_)); }},
            {1033, [&] { settings_.SetTaskStartChar(taskStart_->text().toStdWString()); }},
            {1034, [&] { settings_.SetTaskDueChar(taskDue_->text().toStdWString()); }},
            {1035, [&] { settings_.SetAppHideCharL(hideLeft_->text().toStdWString()); }},
            {1036, [&] { settings_.SetAppHideCharR(hideRight_->text().toStdWString()); }},
        },
        refusal);
    if (refusal) {
        ShowRefusal(messages_, *refusal, *this);
        return;
    }
    QDialog::accept();
}
