#pragma once

#include "core/Result.h"

// Copies a file into a folder of the user's without ever replacing a file of other content:
// "name.ext" taken by another file, the copy becomes "name-2.ext", then "name-3.ext", and so on.
// A file of the same content under one of those names is the copy already, and is left as it is.
namespace FolderCopy {

// Gives back the name the copy has in the folder; fails, with a description, when the copy could
// not be made (nothing then takes a name in the folder).
Result<QString> add(const QString& source, const QString& folder, const QString& name);

} // namespace FolderCopy
