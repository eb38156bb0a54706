#include "FileCopy.h"

#include "common/RegularFile.h"

#include <QFile>
#include <QSaveFile>

namespace FileCopy {

bool replace(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    // Only an ordinary file is copied: reading a FIFO could wait forever.
    if (!RegularFile::open(in, QIODevice::ReadOnly, error))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(qint64{64} * 1024);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            if (error)
                *error = in.errorString();
            out.cancelWriting();
            return false;
        }
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace FileCopy
