#pragma once

#include "core/Result.h"

#include <QIODevice>

class QFile;

// Opens for reading files that must be ordinary files: pictures, cached pictures, headers.
// Opening a FIFO waits for a writer that may never come, and a device may never end; either
// would stop the window. A listed name can turn into such a file before it is read, so the
// check goes with the opening itself.
namespace RegularFile {

// Opens `file` (its name already set) with `mode`, which must be for reading only. Fails when it
// cannot be opened or is not an ordinary file (a link counts as what it points to).
Result<void> open(QFile& file, QIODevice::OpenMode mode = QIODevice::ReadOnly);

} // namespace RegularFile
