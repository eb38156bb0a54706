#pragma once

#include <QString>

// Where the program's own files are: the folder of the program, with its language files and
// sample pictures beside it. Handed to the windows, so that a test can put them anywhere.
class AppFolders
{
public:
    explicit AppFolders(QString programDir);
    // The folders of the program that is running.
    static AppFolders ofRunningProgram();

    const QString& programDir() const { return m_programDir; }
    QString langDir() const;
    QString imagesDir() const;

private:
    QString m_programDir;
};
