#pragma once

#include <QColor>
#include <QtGlobal>

class Form;
class QWidget;

// Colour values as the settings store keeps them: red in the low byte, green in the second,
// blue in the third. A value with the high bit set names a system colour.
namespace Colors {

constexpr quint32 SystemWindowText = 0x80000008u;
constexpr quint32 White = 0xFFFFFFu;
constexpr quint32 DefaultBackground = 16054520u; // red 248, green 248, blue 244

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
};

Rgb SplitColor(quint32 value);
quint32 fromRgb(int red, int green, int blue);
quint32 fromQColor(const QColor& color);
// System colours resolve through the application palette.
QColor toQColor(quint32 value);

// Light when at least two of red, green and blue are 128 or more.
bool isLight(int red, int green, int blue);

// Sets a window's own background colour.
void setBackground(QWidget* window, quint32 value);

// The colour of text drawn on a background: the desktop's window text on a light background when
// that is dark itself (black when the desktop's theme is dark), white on a dark background.
QColor textOn(const QColor& background);

// Colours the widgets of a window: labels, check boxes and frames take the colour and a
// readable text colour; command buttons take the colour (white on a dark colour).
void ApplyColors(Form* form, int red, int green, int blue);

// The window's background and ApplyColors with a chosen colour.
void paintWindow(Form* form, quint32 value);

} // namespace Colors
