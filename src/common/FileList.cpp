#include "FileList.h"

#include <QDirIterator>

#include <algorithm>

namespace {

// "*.jpg;*.gif" -> {".jpg", ".gif"}; false in all when a pattern lists everything.
QStringList suffixesOf(const QString& pattern, bool* all)
{
    QStringList suffixes;
    *all = pattern.trimmed().isEmpty();
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        if (p == QLatin1String("*") || p == QLatin1String("*.*"))
            *all = true;
        else if (p.startsWith(QLatin1Char('*')))
            suffixes.append(p.mid(1));
    }
    return suffixes;
}

} // namespace

FileList::FileList(const QString& pattern)
{
    m_suffixes = suffixesOf(pattern, &m_all);
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    refresh();
}

void FileList::refresh()
{
    m_names.clear();
    if (m_path.isEmpty())
        return;
    QDirIterator it(m_path, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (matches(name))
            m_names.append(name);
    }
    // Case-insensitive order; names that differ only in case keep a fixed order between them.
    std::sort(m_names.begin(), m_names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

bool FileList::matches(const QString& name) const
{
    if (m_all)
        return true;
    for (const QString& suffix : m_suffixes) {
        if (name.size() > suffix.size() && name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QStringList FileList::list(const QString& folder, const QString& pattern)
{
    FileList files(pattern);
    files.setPath(folder);
    return files.names();
}
