#include "core/language/LangFile.h"

#include "core/fs/RegularFile.h"
#include "core/language/Texts.h"

#include <QByteArrayView>
#include <QFile>
#include <QObject>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

// One line of raw content: [start, contentEnd) is the text, [contentEnd, end) its line end.
struct RawLine
{
    qsizetype start = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;
};

enum class LineKind { Other, Section, Key };

struct IniLine
{
    LineKind kind = LineKind::Other;
    QString name;  // section or key name, trimmed
    QString value; // key lines only, trimmed
};

// Where the first line starts: a UTF-8 byte order mark is not part of its text.
qsizetype firstLineStart(QByteArrayView bytes)
{
    return bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
}

// The line that starts at pos, and pos moved to the next one; false at the end. Lines end at
// LF; a CR right before the LF belongs to the line end.
bool nextLine(QByteArrayView bytes, qsizetype& pos, RawLine& line)
{
    if (pos >= bytes.size())
        return false;
    line.start = pos;
    const qsizetype lf = bytes.indexOf('\n', pos);
    if (lf < 0) {
        line.contentEnd = line.end = bytes.size();
    } else {
        line.end = lf + 1;
        line.contentEnd = (lf > pos && bytes[lf - 1] == '\r') ? lf - 1 : lf;
    }
    pos = line.end;
    return true;
}

QByteArrayView contentOf(QByteArrayView bytes, const RawLine& line)
{
    return bytes.sliced(line.start, line.contentEnd - line.start);
}

// UTF-8 when the line is valid UTF-8, otherwise its bytes taken as Latin-1: an 8-bit file
// written by an older editor still reads instead of failing.
QString decodeLine(QByteArrayView bytes)
{
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

IniLine parseIniLine(const QString& text)
{
    IniLine line;
    const QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
        return line;
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(trimmed.sliced(1, close - 1));
        }
        return line;
    }
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(trimmed.first(equals));
    line.value = trimBlanks(trimmed.sliced(equals + 1));
    return line;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString stripQuotes(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// Cuts to MaxValueLength UTF-16 units, one less when the cut would split a surrogate pair.
QString cutValue(const QString& value)
{
    if (value.size() <= LangFile::MaxValueLength)
        return value;
    qsizetype length = LangFile::MaxValueLength;
    if (value[length - 1].isHighSurrogate())
        --length;
    return value.first(length);
}

// Length in UTF-16 units of the character that starts at pos / ends right before pos.
qsizetype charAt(const QString& text, qsizetype pos)
{
    return (pos + 1 < text.size() && text[pos].isHighSurrogate() && text[pos + 1].isLowSurrogate())
               ? 2
               : 1;
}

qsizetype charBefore(const QString& text, qsizetype pos)
{
    return (pos >= 2 && text[pos - 1].isLowSurrogate() && text[pos - 2].isHighSurrogate()) ? 2 : 1;
}

enum class Match { None, Found, TooShort };

// Line-by-line rule: the line must start with the key (case-sensitive); the rest after the
// key and one separator character loses its first and last character. Characters, not
// UTF-16 units, so that no surrogate pair is split.
Match matchLine(QByteArrayView bytes, const QString& key, QString& value)
{
    const QString text = decodeLine(bytes);
    if (!text.startsWith(key))
        return Match::None;
    qsizetype begin = key.size();
    if (begin < text.size())
        begin += charAt(text, begin); // the separator, whatever it is
    qsizetype end = text.size();
    if (begin == end || begin + charAt(text, begin) == end)
        return Match::TooShort; // fewer than two characters after the separator
    begin += charAt(text, begin);
    end -= charBefore(text, end);
    value = text.sliced(begin, std::max<qsizetype>(0, end - begin));
    return Match::Found;
}

// Hands each key line of the first section named `section` to `take`, until it returns true.
template <class Take> void forEachKey(QByteArrayView bytes, const QString& section, Take take)
{
    bool inSection = false;
    qsizetype pos = firstLineStart(bytes);
    for (RawLine raw; nextLine(bytes, pos, raw);) {
        const IniLine line = parseIniLine(decodeLine(contentOf(bytes, raw)));
        if (line.kind == LineKind::Section) {
            if (inSection)
                return; // only the first section of that name is looked at
            inSection = sameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && take(line)) {
            return;
        }
    }
}

QString readIni(QByteArrayView bytes, const QString& section, const QString& key)
{
    QString value;
    forEachKey(bytes, section, [&](const IniLine& line) {
        if (!sameName(line.name, key))
            return false;
        value = cutValue(stripQuotes(line.value));
        return true;
    });
    return value;
}

Result<QString> readLineByLine(QByteArrayView bytes, const QString& key)
{
    qsizetype pos = firstLineStart(bytes);
    for (RawLine raw; nextLine(bytes, pos, raw);) {
        QString value;
        switch (matchLine(contentOf(bytes, raw), key, value)) {
        case Match::Found:
            return value;
        case Match::TooShort:
            return Failure{Texts::text(Text::LineTooShort).arg(key)};
        case Match::None:
            break;
        }
    }
    return QString();
}

bool hasLineBreakOrNul(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

// Quotes a value that the reader would otherwise change: surrounding blanks would be
// trimmed and an enclosing pair of quotes dropped.
QString storedValue(const QString& value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    if (quoted || trimBlanks(value) != value)
        return u'"' + value + u'"';
    return value;
}

QByteArray lineEndOf(QByteArrayView bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    if (lf >= 0 && (lf == 0 || bytes[lf - 1] != '\r'))
        return "\n";
    return "\r\n";
}

} // namespace

Result<QByteArray> LangFile::readFile(const QString& file)
{
    QFile in(file);
    // A FIFO in the file's place would hold the window for ever; only an ordinary file is read.
    if (Result<void> opened = RegularFile::open(in); !opened)
        return Failure{opened.error()};
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return Failure{in.errorString()};
    return bytes;
}

Result<QString> LangFile::ReadLangValue(const QString& file, const QString& section,
                                        const QString& key)
{
    const Result<QByteArray> bytes = readFile(file);
    if (!bytes)
        return Failure{bytes.error()};
    return readLangValueFromBytes(*bytes, section, key, ReadMode::BySize);
}

QString LangFile::foldedName(const QString& name)
{
    return trimBlanks(name).toCaseFolded();
}

QHash<QString, QString> LangFile::readSection(const QByteArray& bytes, const QString& section)
{
    QHash<QString, QString> values;
    forEachKey(bytes, trimBlanks(section), [&](const IniLine& line) {
        const QString key = foldedName(line.name);
        if (!values.contains(key)) // the first of each key counts
            values.insert(key, cutValue(stripQuotes(line.value)));
        return false;
    });
    return values;
}

Result<QString> LangFile::readLangValueFromBytes(const QByteArray& bytes, const QString& section,
                                                 const QString& key, ReadMode mode)
{
    if (mode == ReadMode::BySize)
        mode = bytes.size() > IniSizeLimit ? ReadMode::LineByLine : ReadMode::Ini;
    if (key.isEmpty()) // no line has an empty key, and every line starts with one
        return QString();
    if (mode == ReadMode::LineByLine)
        return readLineByLine(bytes, key);
    return readIni(bytes, trimBlanks(section), trimBlanks(key));
}

Result<QByteArray> LangFile::writeLangValueToBytes(const QByteArray& bytes, const QString& section,
                                                   const QString& key, const QString& value)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty() || hasLineBreakOrNul(sectionName) ||
        hasLineBreakOrNul(keyName) || hasLineBreakOrNul(value) || sectionName.contains(u']') ||
        keyName.contains(u'=') || keyName.startsWith(u'[') || keyName.startsWith(u';'))
        return Failure{Texts::text(Text::CannotStoreLine).arg(key, value, section)};

    bool inSection = false;
    RawLine after; // the section's header or its last key so far
    qsizetype pos = firstLineStart(bytes);
    for (RawLine raw; nextLine(bytes, pos, raw);) {
        const IniLine line = parseIniLine(decodeLine(contentOf(bytes, raw)));
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            if (sameName(line.name, sectionName)) {
                inSection = true;
                after = raw;
            }
        } else if (inSection && line.kind == LineKind::Key) {
            if (sameName(line.name, keyName)) {
                // Keep the file's own spelling of the key; only this line's text changes.
                const QByteArray text = (line.name + u'=' + storedValue(value)).toUtf8();
                return bytes.first(raw.start) + text + bytes.sliced(raw.contentEnd);
            }
            after = raw;
        }
    }

    const QByteArray eol = lineEndOf(bytes);
    const QByteArray keyText = (keyName + u'=' + storedValue(value)).toUtf8();
    if (inSection) {
        // After the section's last key, so that blank lines, comments and anything that is
        // not a key (a language file's closing direction digit) stay where they are.
        const bool hasEnd = after.end > after.contentEnd;
        const QByteArray text = hasEnd ? keyText + eol : eol + keyText;
        return bytes.first(after.end) + text + bytes.sliced(after.end);
    }

    QByteArray result = bytes;
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += eol;
    result += '[' + sectionName.toUtf8() + ']' + eol + keyText + eol;
    return result;
}

Result<void> LangFile::WriteLangValue(const QString& file, const QString& section,
                                      const QString& key, const QString& value)
{
    QByteArray bytes;
    QFile in(file);
    if (in.exists()) {
        // Never replace a file that could not be read: its other lines would be lost.
        if (Result<void> opened = RegularFile::open(in); !opened)
            return Failure{opened.error()};
        bytes = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return Failure{in.errorString()};
        in.close();
    }
    const Result<QByteArray> updated = writeLangValueToBytes(bytes, section, key, value);
    if (!updated)
        return Failure{updated.error()};
    if (in.exists() && *updated == bytes)
        return {};
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(*updated) == updated->size() && out.commit())
        return {};
    return Failure{out.errorString()};
}
