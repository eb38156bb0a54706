#include "FileList.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// The names case-folded once, side by side in one buffer: a case-insensitive sort then compares
// plain UTF-16 text instead of folding at every comparison or allocating a key per name.
class SortKeys
{
public:
    void add(const QString& name)
    {
        m_starts.push_back(static_cast<quint32>(m_text.size()));
        bool ascii = true;
        for (QChar ch : name) {
            const char16_t c = ch.unicode();
            if (c >= 0x80) {
                ascii = false;
                break;
            }
            m_text.push_back(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        }
        if (!ascii) {
            m_text.resize(m_starts.back());
            const QString folded = name.toCaseFolded();
            m_text.insert(m_text.end(), folded.utf16(), folded.utf16() + folded.size());
        }
        m_ends.push_back(static_cast<quint32>(m_text.size()));
    }

    std::u16string_view key(quint32 i) const
    {
        return {m_text.data() + m_starts[i], m_ends[i] - m_starts[i]};
    }

    // The first eight units of a key packed in two integers that compare like the text (a
    // shorter key is padded with zeros, below every character), so that most comparisons of
    // the sort never reach the buffer.
    struct Item
    {
        quint64 head;
        quint64 next;
        quint32 index;
    };

    Item item(quint32 i) const
    {
        const std::u16string_view k = key(i);
        quint64 packed[2] = {0, 0};
        for (size_t j = 0; j < 8 && j < k.size(); ++j)
            packed[j / 4] |= quint64(k[j]) << (48 - 16 * (j % 4));
        return {packed[0], packed[1], i};
    }

    static bool headLess(const Item& a, const Item& b)
    {
        return a.head != b.head ? a.head < b.head : a.next < b.next;
    }

    // The whole order: folded keys, then the names themselves.
    bool less(const Item& a, const Item& b, const QStringList& names) const
    {
        if (a.head != b.head || a.next != b.next)
            return headLess(a, b);
        // The heads are equal: the first eight units need no second look.
        const std::u16string_view ka = key(a.index);
        const std::u16string_view kb = key(b.index);
        const int c = ka.substr(std::min<size_t>(8, ka.size()))
                          .compare(kb.substr(std::min<size_t>(8, kb.size())));
        return c != 0 ? c < 0 : names.at(a.index) < names.at(b.index);
    }

private:
    std::vector<char16_t> m_text;
    std::vector<quint32> m_starts;
    std::vector<quint32> m_ends;
};

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

// name ends with suffix (given case-folded), whatever the case; inline for ASCII text, which
// is nearly every name, instead of a library call per name and pattern.
bool endsWithFolded(const QString& name, const QString& suffix)
{
    const qsizetype offset = name.size() - suffix.size();
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        const char16_t c = name.at(offset + i).unicode();
        const char16_t s = suffix.at(i).unicode();
        if (c >= 0x80 || s >= 0x80)
            return name.endsWith(suffix, Qt::CaseInsensitive);
        if ((c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c) != s)
            return false;
    }
    return true;
}

} // namespace

FileList::FileList(const QString& pattern)
{
    m_suffixes = suffixesOf(pattern, &m_all);
    for (QString& suffix : m_suffixes)
        suffix = suffix.toCaseFolded();
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
    // readdir with the entry types it hands out: a stat only for links and unknown types.
    // QDirIterator costs three times as much on a large folder.
    const QByteArray folder = QFile::encodeName(m_path);
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = dirfd(dir);
    QStringList names;
    SortKeys keys;
    while (const dirent* entry = readdir(dir)) {
        // Hidden files (and "." and "..") are not listed.
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type != DT_REG) {
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                continue;
            // A link counts as the file it points to; a broken one is not listed.
            struct stat info;
            if (fstatat(dirFd, entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
                continue;
        }
        QString name = QFile::decodeName(entry->d_name);
        // A name outside the file-name encoding cannot be given back to the system: it would
        // name another file, or none.
        if (name.contains(QChar::ReplacementCharacter) &&
            QFile::encodeName(name) != QByteArrayView(entry->d_name))
            continue;
        if (matches(name)) {
            keys.add(name);
            names.append(std::move(name));
        }
    }
    closedir(dir);

    // Sorted on the packed heads alone, which needs no memory beyond the items; then each run
    // of equal heads is put in the whole order. Names that differ only in case keep a fixed
    // order between them.
    std::vector<SortKeys::Item> order;
    order.reserve(static_cast<size_t>(names.size()));
    for (quint32 i = 0; i < static_cast<quint32>(names.size()); ++i)
        order.push_back(keys.item(i));
    std::sort(order.begin(), order.end(), &SortKeys::headLess);
    for (auto run = order.begin(); run != order.end();) {
        auto end = run + 1;
        while (end != order.end() && end->head == run->head && end->next == run->next)
            ++end;
        if (end - run > 1) {
            std::sort(run, end, [&](const SortKeys::Item& a, const SortKeys::Item& b) {
                return keys.less(a, b, names);
            });
        }
        run = end;
    }
    m_names.reserve(names.size());
    for (const SortKeys::Item& item : order)
        m_names.append(std::move(names[item.index]));
}

bool FileList::matches(const QString& name) const
{
    if (m_all)
        return true;
    for (const QString& suffix : m_suffixes) {
        if (name.size() > suffix.size() && endsWithFolded(name, suffix))
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
