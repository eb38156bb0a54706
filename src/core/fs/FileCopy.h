#pragma once

#include "core/Result.h"

// Copies files so that a target of the same name is replaced only by a complete copy: the data
// goes to a temporary file beside the target, which then takes the target's name. A symbolic link
// in the target's place is replaced, never followed.
namespace FileCopy {

// Fails, with a description, when the copy could not be made; the target is then unchanged.
Result<void> replace(const QString& source, const QString& target);

} // namespace FileCopy
