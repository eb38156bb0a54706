#pragma once

#include "core/fs/FileList.h"

#include <QListView>

class FileListModel;

// A single-selection list box showing a file list, addressed by row like a list widget but with
// no item object per name, so that a folder of a hundred thousand pictures fills it at once.
class FileListBox : public QListView
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Shows a new listing with nothing selected. Emits no signal.
    void setFiles(const FileList& files);

    // What the list shows, in its order.
    const FileList& files() const;
    int count() const;
    QString text(int row) const;
    // The current row's text; empty when no row is current.
    QString currentText() const;
    // -1 when no row is current.
    int currentRow() const;
    // Makes the row current and selects it alone; -1 clears both.
    void setCurrentRow(int row);
    // Takes the row out of the list (the file itself is untouched).
    void removeRow(int row);

signals:
    void currentRowChanged(int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    FileListModel* m_model;
};
