#pragma once

#include <QString>

#include <optional>

// Numbers as the user and the settings file write them: decimal, with an optional sign, fraction
// and exponent; nothing that does not fit in a double.
namespace NumberText {

// The number the text begins with, leading blanks skipped; `end` is set to where it ends.
std::optional<double> leading(const QString& text, qsizetype* end = nullptr);
// The whole text, blanks around it allowed, as a number.
std::optional<double> whole(const QString& text);

} // namespace NumberText
