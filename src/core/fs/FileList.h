#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A hidden file-list control: the names (no folder) of the ordinary files of one folder that
// match its patterns, sorted by name without regard to case. Hidden files and sub-folders are
// not listed. The listing is read when the path is set or refreshed.
//
// The names are kept back to back in one buffer rather than one string each: a folder of a
// hundred thousand pictures is then listed without a hundred thousand allocations, and a copy
// of the list shares the buffer.
class FileList
{
public:
    // Patterns in the form "*.jpg;*.gif"; "*.*" or an empty pattern lists every file.
    explicit FileList(const QString& pattern = QStringLiteral("*.*"));

    const QString& path() const { return m_path; }
    void setPath(const QString& path);
    void refresh();

    int count() const { return static_cast<int>(m_spans.size()); }
    // The name at a position of the list; empty outside it.
    QString name(int index) const;
    QStringList names() const;
    // Takes one name out of the list (the file itself is untouched).
    void removeAt(int index);

    // True when the name matches one of the patterns, whatever the letter case.
    bool matches(const QString& name) const;

    // Lists a folder with the given patterns (the work of setPath, usable on its own).
    static QStringList list(const QString& folder, const QString& pattern);

private:
    struct Span
    {
        quint32 start;
        quint32 size;
    };

    bool matchesAscii(const char* name, size_t size) const;

    QString m_path;
    QStringList m_suffixes;
    // The same suffixes as bytes, when all are ASCII.
    QByteArrayList m_asciiSuffixes;
    bool m_allAscii = true;
    bool m_all = false;
    QString m_text;
    std::vector<Span> m_spans;
};
