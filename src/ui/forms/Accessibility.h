#pragma once

class QLabel;

// How the windows' controls are described to screen readers (see AccessibleControl).
namespace Accessibility {

// Puts the program's descriptions before Qt's own; each window does so before it makes its
// controls.
void install();
// A label that opens a page when clicked is described as a link.
void announceAsLink(QLabel* label);

} // namespace Accessibility
