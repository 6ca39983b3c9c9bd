// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Unit1.h"

#include "picture/DrawSpring.h"
#include "platform/DecimalSeparator.h"
#include "platform/ErrorDisplay.h"
#include "platform/EventPump.h"
#include "ui_Unit1.h"

namespace {

// The window opens with its outer top-left corner here [px].
constexpr QPoint WindowPosition{276, 116};
// The window's font: 8 points at 96 pixels per inch. Where it is missing,
// a sans serif of about its widths stands in (Liberation Sans, Arimo), or
// else the system's ordinary sans serif.
constexpr int FontPixelSize = 11;
const QStringList FontFamilies{QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                               QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), m_animation(*this)
{
    QFont font;
    font.setFamilies(FontFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FontPixelSize);
    setFont(font);
    ui->setupUi(this);
    move(WindowPosition);

    using vibrona::guarded;
    connect(ui->Button1, &QPushButton::clicked, this, guarded(this, &TForm1::Button1Click));
    connect(ui->Button2, &QPushButton::clicked, this, guarded(this, &TForm1::Button2Click));
    connect(ui->Button3, &QPushButton::clicked, this, guarded(this, &TForm1::Button3Click));
    connect(ui->CheckBox1, &QCheckBox::toggled, this, guarded(this, &TForm1::CheckBox1Click));
}

TForm1::~TForm1() = default;

void TForm1::Button1Click()
{
    m_animation.start();
}

void TForm1::Button2Click()
{
    m_animation.stop();
}

void TForm1::Button3Click()
{
    m_animation.clear();
}

void TForm1::CheckBox1Click()
{
    m_animation.slowModeChanged();
}

void TForm1::DrawSpring(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t N)
{
    vibrona::DrawSpring(ui->Image1->surface(), X1, Y1, X2, Y2, N);
}

std::string TForm1::text(vibrona::ParameterInput input) const
{
    using vibrona::ParameterInput;
    const QLineEdit *edit = nullptr;
    switch (input) {
    case ParameterInput::AmplitudeA: edit = ui->Edit1; break;
    case ParameterInput::Omega1: edit = ui->Edit2; break;
    case ParameterInput::AmplitudeB: edit = ui->Edit3; break;
    case ParameterInput::Omega2: edit = ui->Edit4; break;
    case ParameterInput::PhaseDegrees: edit = ui->Edit5; break;
    }
    return edit->text().toStdString();
}

char32_t TForm1::decimalSeparator() const
{
    return vibrona::userDecimalSeparator();
}

void TForm1::setClearEnabled(bool enabled)
{
    ui->Button3->setEnabled(enabled);
}

bool TForm1::slowModeChecked() const
{
    return ui->CheckBox1->isChecked();
}

void TForm1::setAxisAutomatic(vibrona::ChartAxis axis, bool automatic)
{
    (axis == vibrona::ChartAxis::Bottom ? ui->Chart1->BottomAxis() : ui->Chart1->LeftAxis()).setAutomatic(automatic);
}

void TForm1::setAxisMaximum(vibrona::ChartAxis axis, double value)
{
    (axis == vibrona::ChartAxis::Bottom ? ui->Chart1->BottomAxis() : ui->Chart1->LeftAxis()).setMaximum(value);
}

void TForm1::setAxisMinimum(vibrona::ChartAxis axis, double value)
{
    (axis == vibrona::ChartAxis::Bottom ? ui->Chart1->BottomAxis() : ui->Chart1->LeftAxis()).setMinimum(value);
}

void TForm1::clearSeries()
{
    ui->Chart1->Series1().Clear();
}

void TForm1::addPoint(double x, double y, vibrona::Color color)
{
    ui->Chart1->Series1().AddXY(x, y, color);
}

vibrona::DrawingSurface &TForm1::picture()
{
    return ui->Image1->surface();
}

void TForm1::sleep(std::int32_t ms)
{
    vibrona::sleepMilliseconds(ms);
}

void TForm1::pumpMessages()
{
    vibrona::pumpMessages();
}
