#pragma once

#include "core/fs/FileList.h"

#include <QAbstractListModel>

// A file list as a one-column model: a list view then asks for the few names it shows, instead
// of holding an item object for every file of the folder.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit FileListModel(QObject* parent = nullptr);

    const FileList& files() const { return m_files; }
    // Shows a new listing (shared, not copied name by name).
    void setFiles(const FileList& files);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    FileList m_files;
};
