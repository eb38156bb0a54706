#include "Colors.h"

#include "ui/forms/Form.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace Colors {

Rgb SplitColor(quint32 value)
{
    return {static_cast<int>(value & 255u), static_cast<int>((value / 256u) & 255u),
            static_cast<int>((value / 65536u) & 255u)};
}

quint32 fromRgb(int red, int green, int blue)
{
    return static_cast<quint32>(red & 255) | (static_cast<quint32>(green & 255) << 8) |
           (static_cast<quint32>(blue & 255) << 16);
}

quint32 fromQColor(const QColor& color)
{
    return fromRgb(color.red(), color.green(), color.blue());
}

QColor toQColor(quint32 value)
{
    if (value & 0x80000000u) {
        // Only the window-text colour is ever used as a system colour here.
        return QApplication::palette().color(QPalette::WindowText);
    }
    const Rgb rgb = SplitColor(value);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

bool isLight(int red, int green, int blue)
{
    return (red > 127 ? 1 : 0) + (green > 127 ? 1 : 0) + (blue > 127 ? 1 : 0) >= 2;
}

void setBackground(QWidget* window, quint32 value)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, toQColor(value));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QColor textOn(const QColor& background)
{
    if (!isLight(background.red(), background.green(), background.blue()))
        return toQColor(White);
    const QColor system = toQColor(SystemWindowText);
    return isLight(system.red(), system.green(), system.blue()) ? QColor(Qt::black) : system;
}

void ApplyColors(Form* form, int red, int green, int blue)
{
    const QColor background(red & 255, green & 255, blue & 255);
    const QColor text = textOn(background);
    const QColor button = isLight(red, green, blue) ? background : QColor(Qt::white);
    for (NamedControl* control : form->controls()) {
        QWidget* widget = control->widget();
        if (!widget)
            continue;
        QPalette palette = widget->palette();
        switch (control->kind()) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
        case ControlKind::Frame:
            palette.setColor(QPalette::Window, background);
            palette.setColor(QPalette::WindowText, text);
            widget->setAutoFillBackground(true);
            widget->setPalette(palette);
            break;
        case ControlKind::CommandButton:
            palette.setColor(QPalette::Button, button);
            palette.setColor(QPalette::ButtonText, textOn(button));
            widget->setPalette(palette);
            break;
        default:
            break;
        }
    }
}

void paintWindow(Form* form, quint32 value)
{
    setBackground(form, value);
    const Rgb rgb = SplitColor(value);
    ApplyColors(form, rgb.red, rgb.green, rgb.blue);
}

} // namespace Colors
