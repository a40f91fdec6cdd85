// The colour picker: three sliders in a grid, "TEST" and the preview row below them.
#include "dialogs/color_sel_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "dialogs/color_swatch.h"
#include "dialogs/settings_controls.h"

CColorSelDlg::CColorSelDlg(uint32_t colorRef, QWidget* parent) : QDialog(parent), color_(colorRef)
{
    setWindowTitle(QStringLiteral("Color sel"));
    auto* grid = new QGridLayout;
    const std::array<std::pair<const char*, int>, 3> channels = {
        {{"R", 1149}, {"G", 1153}, {"B", 1154}}};
    std::array<QSlider*, 3> sliders{};
    for (int i = 0; i < 3; ++i) {
        const int value = static_cast<int>((colorRef >> (8 * i)) & 0xFF);
        sliders[i] = MakeSlider(channels[i].second, value);
        auto* label = new QLabel(QString::fromLatin1(channels[i].first));
        label->setBuddy(sliders[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(sliders[i], i, 1, 1, 3);
    }
    red_ = sliders[0];
    green_ = sliders[1];
    blue_ = sliders[2];

    auto* test = Named(new QPushButton(QStringLiteral("TEST")), 1161);
    rgbText_ = Named(new QLineEdit, 1030);
    rgbText_->setReadOnly(true);
    rgbText_->setMaxLength(6);
    preview_ = new ColorSwatch(colorRef);
    preview_->setFixedSize(rgbText_->sizeHint().height() * 3, rgbText_->sizeHint().height());
    grid->addWidget(test, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("RGB")), 4, 0);
    grid->addWidget(rgbText_, 4, 1);
    grid->addWidget(Named(new QLabel(QStringLiteral("Color")), 1162), 4, 2, Qt::AlignRight);
    grid->addWidget(preview_, 4, 3);
    grid->setColumnStretch(1, 1);
    connect(test, &QPushButton::clicked, this, &CColorSelDlg::Test);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddOkCancel(*layout, *this);
    Test();
    setMinimumWidth(300);
}

QString CColorSelDlg::HexText(uint32_t colorRef)
{
    return QString::asprintf("%.2x%.2x%.2x", colorRef & 0xFF, (colorRef >> 8) & 0xFF,
                             (colorRef >> 16) & 0xFF);
}

void CColorSelDlg::accept()
{
    color_ = SliderColor();
    QDialog::accept();
}

QSlider* CColorSelDlg::MakeSlider(int id, int value)
{
    auto* slider = Named(new QSlider(Qt::Horizontal), id);
    slider->setRange(0, 255);
    slider->setValue(value);
    slider->setPageStep(16);
    return slider;
}

uint32_t CColorSelDlg::SliderColor() const
{
    return ColorSwatch::FromChannels(red_->value(), green_->value(), blue_->value());
}

void CColorSelDlg::Test()
{
    rgbText_->setText(HexText(SliderColor()));
    preview_->SetColorRef(SliderColor());
}
