#pragma once

class Form;

// Turns a window's layout over for right-to-left languages, and back. Each control's Left is
// mirrored against its frame's width or the window's inner width; text alignment follows unless
// the control's tag is "no" or "-1". Mirroring twice restores the layout.
namespace Mirroring {

void AlignToRight(Form* form);
void AlignToLeft(Form* form);

} // namespace Mirroring
