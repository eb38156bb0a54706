#pragma once

#include "core/Result.h"

// Copies files so that a name in the folder only ever holds a complete copy: the data goes to a
// hidden temporary file beside the target, is flushed to the disk, and only then takes the
// target's name. When anything fails (a full disk, a short write, a read error) the temporary
// file is removed and whatever had the target's name is left as it was. A symbolic link in the
// target's place is replaced as a name, never written through.
namespace FileCopy {

// The copy takes the target's name, replacing what had it. Fails, with a description, when the
// copy could not be made.
Result<void> replace(const QString& source, const QString& target);

// The copy takes the target's name only while no entry has it: false, with nothing changed, when
// the name is taken. Fails, with a description, when the copy could not be made.
Result<bool> create(const QString& source, const QString& target);

} // namespace FileCopy
