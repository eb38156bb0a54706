// Feeds arbitrary bytes as the content of a language file: looks up a few keys in both read
// modes, checks the limits every answer must keep, and checks that a value written into the
// content reads back unchanged while the content around it survives.
#include "core/language/LangFile.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkWellFormed(const QString& value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i].isHighSurrogate())
            check(i + 1 < value.size() && value[i + 1].isLowSurrogate());
        if (value[i].isLowSurrogate())
            check(i > 0 && value[i - 1].isHighSurrogate());
    }
}

struct Lookup
{
    const char16_t* section;
    const char16_t* key;
};

constexpr Lookup Lookups[] = {
    {u"frmMine", u"frmMine.Caption"},
    {u"frmTools", u"cmdadd.ToolTipText"},
    {u"Strings", u"0001"},
    {u"Language", u"CurrentLanguage"},
    {u"frmMine", u"mnuLanguage(2).Caption"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    for (const Lookup& lookup : Lookups) {
        const QString section = QString::fromUtf16(lookup.section);
        const QString key = QString::fromUtf16(lookup.key);

        const auto ini =
            LangFile::readLangValueFromBytes(bytes, section, key, LangFile::ReadMode::Ini);
        check(ini.has_value()); // the INI rules never fail on content
        check(ini->size() <= LangFile::MaxValueLength);
        checkWellFormed(*ini);

        const auto lines =
            LangFile::readLangValueFromBytes(bytes, section, key, LangFile::ReadMode::LineByLine);
        if (lines)
            checkWellFormed(*lines);
    }

    // Write a value taken from the input itself and read it back.
    const qsizetype cut = bytes.size() / 2;
    QString value = QString::fromLatin1(bytes.first(std::min<qsizetype>(cut, 40)));
    value.remove(QChar(u'\r')).remove(QChar(u'\n')).remove(QChar(0));
    const QString section = QStringLiteral("Language");
    const QString key = QStringLiteral("CurrentLanguage");
    const auto written = LangFile::writeLangValueToBytes(bytes, section, key, value);
    check(written.has_value());
    // Only one line's text may be replaced: no line break of the old content disappears.
    const qsizetype shorter = std::min(bytes.size(), written->size());
    qsizetype prefix = 0;
    while (prefix < shorter && bytes[prefix] == (*written)[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           bytes[bytes.size() - 1 - suffix] == (*written)[written->size() - 1 - suffix])
        ++suffix;
    check(!bytes.sliced(prefix, bytes.size() - prefix - suffix).contains('\n'));
    const auto readBack =
        LangFile::readLangValueFromBytes(*written, section, key, LangFile::ReadMode::Ini);
    check(readBack.has_value() && *readBack == value);

    // Writing the same value again changes nothing.
    const auto again = LangFile::writeLangValueToBytes(*written, section, key, value);
    check(again.has_value() && *again == *written);
    return 0;
}
