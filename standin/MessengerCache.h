#pragma once

#include "Contact.h"
#include "PictureEncoder.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace standin {

// The client's cache of the contacts' display pictures: one file per picture, named by a
// hash of its bytes as a cache would, in PNG, GIF, BMP or JPEG, most of them 96 x 96 and
// some not, some with an extension that does not match the format or with none at all.
// An index file records which files this program wrote, so that a later run removes
// exactly those and nothing else that happens to be in the folder.
class MessengerCache
{
public:
    struct Entry
    {
        Contact contact;
        QString fileName;
        PictureEncoder::Format format;
        QSize size;
    };

    static constexpr const char* IndexFileName = "index.dat";

    explicit MessengerCache(QString folder);

    // Writes one display picture per contact and removes the pictures an earlier run wrote
    // that are no longer wanted. Carries on past a file it cannot write; false when any
    // step failed, each failure described in *problems.
    bool fill(const QList<Contact>& contacts, QStringList* problems = nullptr);

    const QString& folder() const { return m_folder; }
    const QList<Entry>& entries() const { return m_entries; }

private:
    struct Kind
    {
        PictureEncoder::Format format;
        QSize size;
        QString suffix; // as the file name ends; may mislead on purpose
    };
    static Kind kindFor(qsizetype index);
    QStringList previousFiles() const;
    static bool isPlainFileName(const QString& name);

    QString m_folder;
    QList<Entry> m_entries;
};

} // namespace standin
