#pragma once

#include <QString>
#include <QStringList>

// A hidden file-list control: the names (no folder) of the ordinary files of one folder that
// match its patterns, sorted by name without regard to case. Hidden files and sub-folders are
// not listed. The listing is read when the path is set or refreshed.
class FileList
{
public:
    // Patterns in the form "*.jpg;*.gif"; "*.*" or an empty pattern lists every file.
    explicit FileList(const QString& pattern = QStringLiteral("*.*"));

    const QString& path() const { return m_path; }
    void setPath(const QString& path);
    void refresh();

    const QStringList& names() const { return m_names; }
    int count() const { return static_cast<int>(m_names.size()); }

    // True when the name matches one of the patterns, whatever the letter case.
    bool matches(const QString& name) const;

    // Lists a folder with the given patterns (the work of setPath, usable on its own).
    static QStringList list(const QString& folder, const QString& pattern);

private:
    QString m_path;
    QStringList m_suffixes;
    bool m_all = false;
    QStringList m_names;
};
