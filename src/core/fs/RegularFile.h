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

// The whole content of the ordinary file at `path`, at most `maxBytes` long. The reading is done
// by a child process (cat, given the opened file as its input): a read that the kernel cannot
// interrupt, on a FUSE or network share that stopped answering, then holds that child alone and
// never a thread of this program, which could not end until the share answered. Blocks until the
// content is read: call it from a worker.
Result<QByteArray> readAll(const QString& path, qint64 maxBytes);

} // namespace RegularFile
