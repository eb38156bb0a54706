#pragma once

#include <QString>

// Where the program's own files are: its language files and sample pictures, beside the program
// in a build tree, or in ../share/dorvane relative to it once installed. Handed to the windows,
// so that a test can put them anywhere.
class AppFolders
{
public:
    // The program's files in `dataDir`; the program itself in `programDir`.
    AppFolders(QString programDir, QString dataDir);
    // Looks beside the program first, then in ../share/dorvane relative to it; beside the
    // program again when neither holds a language folder.
    static AppFolders find(const QString& programDir);
    // The folders of the program that is running.
    static AppFolders ofRunningProgram();
    // Whether a language folder is an installed copy's (PREFIX/share/dorvane/lang), which the
    // program never writes, rather than one beside the program in a build tree.
    static bool isInstalledLangDir(const QString& langDir);

    const QString& programDir() const { return m_programDir; }
    const QString& dataDir() const { return m_dataDir; }
    QString langDir() const;
    QString imagesDir() const;

private:
    QString m_programDir;
    QString m_dataDir;
};
