#include "FileListBox.h"

#include "ui/widgets/FileListModel.h"

FileListBox::FileListBox(QWidget* parent) : QListView(parent), m_model(new FileListModel(this))
{
    // Every row is one line of the same font: the view lays out a large list without asking
    // each row for its size.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(m_model);
}

void FileListBox::setFiles(const FileList& files)
{
    const QSignalBlocker block(this);
    m_model->setFiles(files);
    setCurrentRow(-1);
}

const FileList& FileListBox::files() const
{
    return m_model->files();
}

int FileListBox::count() const
{
    return m_model->rowCount();
}

QString FileListBox::text(int row) const
{
    return m_model->files().name(row);
}

QString FileListBox::currentText() const
{
    return text(currentRow());
}

int FileListBox::currentRow() const
{
    return currentIndex().row();
}

void FileListBox::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

void FileListBox::removeRow(int row)
{
    m_model->removeRow(row);
}

void FileListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    if (current.row() != previous.row())
        emit currentRowChanged(current.row());
}
