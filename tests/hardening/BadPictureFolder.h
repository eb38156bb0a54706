#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A picture folder of awkward files, made afresh by the test itself: files that cannot be
// decoded or would not fit in memory once decoded, names that trip up careless quoting or
// formatting, a file nobody may read (not when running as root, who may read anything) and a
// file the test removes once the list is filled.
class BadPictureFolder
{
public:
    enum class Kind {
        Picture, // decodes; one colour throughout
        Broken,  // never decodes
        Partial, // may decode in part (a truncated JPEG is shown with its missing rows grey)
    };

    struct File
    {
        QString name;
        Kind kind;
        QColor colour; // of a Picture
    };

    static const QString Vanishing;
    static const QString Unreadable;

    // Writes the files into `folder`, which must exist.
    explicit BadPictureFolder(QString folder);

    const QString& path() const { return m_folder; }
    QString filePath(const QString& name) const { return m_folder + QLatin1Char('/') + name; }
    const QList<File>& files() const { return m_files; }
    QStringList names() const;
    std::optional<File> file(const QString& name) const;

    // Removes Vanishing, as something outside the program would after the listing.
    bool removeVanishing() const;

    // Why the unreadable file was left out; empty when it was made.
    static QString unreadableSkipReason();

    // A small but well-formed PNG whose header declares width x height pixels.
    static QByteArray pngDeclaring(quint32 width, quint32 height);

private:
    void add(const QString& name, Kind kind, const QByteArray& bytes, QColor colour = {});

    QString m_folder;
    QList<File> m_files;
};
