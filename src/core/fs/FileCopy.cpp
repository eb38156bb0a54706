#include "FileCopy.h"

#include "core/fs/RegularFile.h"

#include <QFile>
#include <QSaveFile>

namespace FileCopy {

Result<void> replace(const QString& source, const QString& target)
{
    QFile in(source);
    // Only an ordinary file is copied: reading a FIFO could wait forever.
    if (Result<void> opened = RegularFile::open(in); !opened)
        return opened;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Failure{out.errorString()};
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(qint64{64} * 1024);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return Failure{in.errorString()};
        }
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (!out.commit())
        return Failure{out.errorString()};
    return {};
}

} // namespace FileCopy
