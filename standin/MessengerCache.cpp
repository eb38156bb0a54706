#include "MessengerCache.h"

#include "PicturePainter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>

namespace standin {

MessengerCache::MessengerCache(QString folder) : m_folder(std::move(folder)) {}

MessengerCache::Kind MessengerCache::kindFor(qsizetype index)
{
    using F = PictureEncoder::Format;
    // Every format has a 96 x 96 picture among the first eight; the rest are other sizes
    // or carry a suffix that says nothing or the wrong thing about the format.
    static const Kind kinds[] = {
        {F::Png, {96, 96}, QStringLiteral(".png")},   {F::Gif, {96, 96}, QStringLiteral(".gif")},
        {F::Bmp, {96, 96}, QStringLiteral(".bmp")},   {F::Jpeg, {96, 96}, QString()},
        {F::Png, {120, 120}, QStringLiteral(".png")}, {F::Jpeg, {96, 64}, QStringLiteral(".png")},
        {F::Gif, {120, 120}, QStringLiteral(".dat")}, {F::Png, {96, 96}, QStringLiteral(".jpg")},
    };
    return kinds[index % std::size(kinds)];
}

bool MessengerCache::fill(const QList<Contact>& contacts, QStringList* problems)
{
    auto report = [problems](const QString& what) {
        if (problems)
            problems->append(what);
    };
    m_entries.clear();
    if (!QDir().mkpath(m_folder)) {
        report(QStringLiteral("%1: cannot create the folder").arg(m_folder));
        return false;
    }

    bool ok = true;
    QDir dir(m_folder);
    QByteArray index;
    QSet<QString> written;
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        const Contact& contact = contacts.at(i);
        const Kind kind = kindFor(i);
        const QImage picture = PicturePainter::paint(
            contact.signinName, PicturePainter::initialOf(contact.friendlyName), kind.size);
        QString error;
        const QByteArray bytes = PictureEncoder::encode(picture, kind.format, &error);
        if (bytes.isEmpty()) {
            report(QStringLiteral("%1: %2").arg(contact.signinName, error));
            ok = false;
            continue;
        }
        const QString name =
            QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toUpper()) +
            kind.suffix;
        if (!written.contains(name) &&
            !PictureEncoder::writeFile(dir.filePath(name), bytes, &error)) {
            report(error);
            ok = false;
            continue;
        }
        written.insert(name);
        m_entries.append({contact, name, kind.format, kind.size});
        index += name.toUtf8() + '\t' + contact.signinName.toUtf8() + '\n';
    }

    for (const QString& old : previousFiles()) {
        if (!written.contains(old) && dir.exists(old) && !dir.remove(old)) {
            report(QStringLiteral("%1: cannot remove an old picture").arg(dir.filePath(old)));
            ok = false;
        }
    }
    QString error;
    if (!PictureEncoder::writeFile(dir.filePath(QLatin1String(IndexFileName)), index, &error)) {
        report(error);
        ok = false;
    }
    return ok;
}

QStringList MessengerCache::previousFiles() const
{
    QFile file(QDir(m_folder).filePath(QLatin1String(IndexFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const QString name = QString::fromUtf8(line.left(line.indexOf('\t')));
        // The index is a file anyone can edit: never let it point outside the folder.
        if (isPlainFileName(name))
            names.append(name);
    }
    return names;
}

bool MessengerCache::isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           name != QLatin1String(IndexFileName) && !name.contains(QLatin1Char('/')) &&
           !name.contains(QChar(0));
}

} // namespace standin
