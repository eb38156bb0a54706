#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// Reads and writes the INI-style language files (*.lng) and LangSetting.ini.
//
// Small files (up to IniSizeLimit bytes) are read with INI rules: the first section and the
// first key in it whose names match without regard to case, blanks around names and values
// dropped, one enclosing pair of quotes dropped, values cut to MaxValueLength UTF-16 units.
// Larger files are scanned line by line for the first line that starts with the key
// (case-sensitive, sections ignored); the rest of that line after the key and one separator
// loses its first and last character (normally the quotes).
//
// Every line is UTF-8; a line that is not valid UTF-8 is taken as Latin-1 bytes, so an old
// 8-bit file still reads rather than failing. CR LF and LF line ends are both accepted.
class LangFile
{
public:
    // Files up to this size are read with INI rules, larger ones line by line.
    static constexpr qint64 IniSizeLimit = 64000;
    // Longest value that the INI rules return (a 512-unit buffer less its terminator).
    static constexpr int MaxValueLength = 511;

    enum class ReadMode {
        BySize, // INI rules up to IniSizeLimit bytes, line by line above
        Ini,
        LineByLine,
    };

    // The value of key in section of file; empty when the key is absent. Fails when the file is
    // missing or unreadable, or when a matching line in line-by-line mode is too short to hold a
    // value: callers treat that as "nothing to apply".
    static Result<QString> ReadLangValue(const QString& file, const QString& section,
                                         const QString& key);

    // Writes key=value into section of file: replaces the first such key in place, or adds
    // the key at the end of its section, or adds the section at the end of the file, or
    // creates the file. Every other line is kept byte for byte. The file is replaced
    // atomically. Fails when a name or the value cannot be stored in an INI line (empty name,
    // line break, '=' in a key, ']' in a section) or when the file cannot be read or written.
    static Result<void> WriteLangValue(const QString& file, const QString& section,
                                       const QString& key, const QString& value);

    // A file's whole content, read only when it is an ordinary file.
    static Result<QByteArray> readFile(const QString& file);

    // Every key of a section with its value, read by the INI rules: the first section of that
    // name, the first of each key in it. The keys are given as foldedName() gives them. For many
    // lookups in one file of up to IniSizeLimit bytes.
    static QHash<QString, QString> readSection(const QByteArray& bytes, const QString& section);
    // A section's or key's name as readSection() keys them: blanks dropped, case folded.
    static QString foldedName(const QString& name);

    // The same lookup on a file's content held in memory; BySize decides the mode from
    // bytes.size() exactly as ReadLangValue does from the file size.
    static Result<QString> readLangValueFromBytes(const QByteArray& bytes, const QString& section,
                                                  const QString& key,
                                                  ReadMode mode = ReadMode::BySize);

    // The content that WriteLangValue would store, given the current content (empty for a
    // file that does not exist yet); fails when the names or the value are refused.
    static Result<QByteArray> writeLangValueToBytes(const QByteArray& bytes, const QString& section,
                                                    const QString& key, const QString& value);
};
