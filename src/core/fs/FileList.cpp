#include "FileList.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// The sort keys of the listed names: the case-folded name, read from the names themselves for
// ASCII names (folding is then lowering A to Z) and kept in a buffer of their own for the rest.
// The sort compares one integer packed from several units of key at a time, instead of folding
// at every comparison or allocating a key per name: eight units when every unit fits a byte (all
// but the rarest folders), four otherwise. Runs that agree on those are sorted on the next ones.
class SortKeys
{
public:
    // The name is ASCII and lies at start in the names' text.
    void addAscii(quint32 start, quint32 size) { m_keys.push_back({start, size, false}); }

    void add(const QString& name)
    {
        const QString folded = name.toCaseFolded();
        m_keys.push_back(
            {static_cast<quint32>(m_folded.size()), static_cast<quint32>(folded.size()), true});
        for (QChar ch : folded)
            m_narrow = m_narrow && ch.unicode() < 0x100;
        m_folded.insert(m_folded.end(), folded.utf16(), folded.utf16() + folded.size());
    }

    // The positions of the names in their order. Keys that are equal (names that differ only
    // in case) are ordered by less(a, b) on their positions, so that they keep a fixed order.
    template <typename Less> std::vector<quint32> order(const char16_t* names, const Less& less)
    {
        m_names = names;
        m_width = m_narrow ? 8 : 4;
        // A beginning that every name shares decides nothing: packing starts after it.
        const size_t offset = sharedBeginning();
        std::vector<Item> items;
        items.reserve(m_keys.size());
        for (quint32 i = 0; i < static_cast<quint32>(m_keys.size()); ++i)
            items.push_back(item(i, offset));
        sortFrom(items.begin(), items.end(), offset, less);
        std::vector<quint32> positions;
        positions.reserve(items.size());
        for (const Item& it : items)
            positions.push_back(it.index);
        return positions;
    }

private:
    struct Key
    {
        quint32 start;
        quint32 size : 31;
        bool folded : 1;
    };

    // Units of a key from an offset, packed in an integer that compares like the text (a shorter
    // key is padded with zeros, below every character of a file name).
    struct Item
    {
        quint64 packed;
        quint32 index;
    };

    char16_t unit(const Key& key, size_t j) const
    {
        return key.folded ? m_folded[key.start + j] : asciiLower(m_names[key.start + j]);
    }

    size_t sharedBeginning() const
    {
        if (m_keys.empty())
            return 0;
        const Key first = m_keys.front();
        size_t shared = first.size;
        for (const Key& key : m_keys) {
            size_t j = 0;
            const size_t limit = std::min<size_t>(shared, key.size);
            while (j < limit && unit(key, j) == unit(first, j))
                ++j;
            shared = j;
            if (shared == 0)
                break;
        }
        return shared;
    }

    Item item(quint32 i, size_t offset) const
    {
        const Key key = m_keys[i];
        quint64 packed = 0;
        const size_t end = std::min<size_t>(key.size, offset + m_width);
        const unsigned bits = m_narrow ? 8 : 16;
        for (size_t j = offset; j < end; ++j)
            packed |= quint64(unit(key, j)) << (64 - bits * (j - offset + 1));
        return {packed, i};
    }

    // Sorts items whose keys agree before the offset: by the units from there, then each run
    // that agrees on those as well by the next ones, and so on until the keys end.
    template <typename Iterator, typename Less>
    void sortFrom(Iterator first, Iterator last, size_t offset, const Less& less) const
    {
        std::sort(first, last, [](const Item& a, const Item& b) { return a.packed < b.packed; });
        for (Iterator run = first; run != last;) {
            Iterator end = run + 1;
            while (end != last && end->packed == run->packed)
                ++end;
            if (end - run > 1) {
                if (m_keys[run->index].size <= offset + m_width) {
                    // The keys ended together: they are equal.
                    std::sort(run, end,
                              [&](const Item& a, const Item& b) { return less(a.index, b.index); });
                } else {
                    for (Iterator it = run; it != end; ++it)
                        *it = item(it->index, offset + m_width);
                    sortFrom(run, end, offset + m_width, less);
                }
            }
            run = end;
        }
    }

    std::vector<Key> m_keys;
    std::vector<char16_t> m_folded;
    bool m_narrow = true;
    size_t m_width = 8;
    const char16_t* m_names = nullptr;
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
    for (QString& suffix : m_suffixes) {
        suffix = suffix.toCaseFolded();
        for (QChar ch : std::as_const(suffix))
            m_allAscii = m_allAscii && ch.unicode() < 0x80;
        m_asciiSuffixes.append(suffix.toLatin1());
    }
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    refresh();
}

void FileList::refresh()
{
    m_text.clear();
    m_spans.clear();
    if (m_path.isEmpty())
        return;
    // readdir with the entry types it hands out: a stat only for links and unknown types.
    // QDirIterator costs three times as much on a large folder.
    const QByteArray folder = QFile::encodeName(m_path);
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = dirfd(dir);
    QString text;
    std::vector<Span> spans;
    SortKeys keys;
    // Room for the name, at the end of the text.
    auto append = [&](size_t size) {
        const qsizetype at = text.size();
        spans.push_back({static_cast<quint32>(at), static_cast<quint32>(size)});
        text.resize(at + static_cast<qsizetype>(size));
        return reinterpret_cast<char16_t*>(text.data()) + at;
    };
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
        const char* raw = entry->d_name;
        const size_t size = std::strlen(raw);
        // Nearly every name is ASCII, which reads the same in every encoding: matched and
        // copied byte by byte, with no string made for it.
        if (std::all_of(raw, raw + size, [](char c) { return static_cast<signed char>(c) >= 0; })) {
            if (!m_all && !matchesAscii(raw, size))
                continue;
            std::copy(raw, raw + size, append(size));
            keys.addAscii(spans.back().start, spans.back().size);
            continue;
        }
        const QString name = QFile::decodeName(raw);
        // A name outside the file-name encoding cannot be given back to the system: it would
        // name another file, or none.
        if (name.contains(QChar::ReplacementCharacter) &&
            QFile::encodeName(name) != QByteArrayView(raw, static_cast<qsizetype>(size)))
            continue;
        if (!matches(name))
            continue;
        std::copy(name.utf16(), name.utf16() + name.size(),
                  append(static_cast<size_t>(name.size())));
        keys.add(name);
    }
    closedir(dir);

    const auto nameAt = [&](quint32 i) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()) + spans[i].start,
                                   spans[i].size);
    };
    const std::vector<quint32> order =
        keys.order(reinterpret_cast<const char16_t*>(text.utf16()),
                   [&](quint32 a, quint32 b) { return nameAt(a) < nameAt(b); });
    m_spans.reserve(order.size());
    for (quint32 position : order)
        m_spans.push_back(spans[position]);
    m_text = std::move(text);
}

QString FileList::name(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    const Span span = m_spans[static_cast<size_t>(index)];
    return QString(m_text.constData() + span.start, static_cast<qsizetype>(span.size));
}

QStringList FileList::names() const
{
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append(name(i));
    return result;
}

void FileList::removeAt(int index)
{
    if (index >= 0 && index < count())
        m_spans.erase(m_spans.begin() + index);
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

bool FileList::matchesAscii(const char* name, size_t size) const
{
    if (m_all)
        return true;
    if (!m_allAscii)
        return matches(QString::fromLatin1(name, static_cast<qsizetype>(size)));
    for (const QByteArray& suffix : m_asciiSuffixes) {
        const size_t length = static_cast<size_t>(suffix.size());
        if (size <= length)
            continue;
        const char* tail = name + (size - length);
        const char* s = suffix.constData();
        size_t i = 0;
        while (i < length && asciiLower(static_cast<unsigned char>(tail[i])) == char16_t(s[i]))
            ++i;
        if (i == length)
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
