// Arbitrary bytes as a language file: lookups in both read modes keep their limits, and a value
// written reads back while no other line changes.
#include "core/language/LangFile.h"
#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using Mode = LangFile::ReadMode;
    const auto check = [](bool holds) { return holds ? void() : std::abort(); };
    const QByteArray in(reinterpret_cast<const char*>(data), qsizetype(size));
    // Whole surrogate pairs only: a lone half would not survive the round trip through UTF-8.
    const auto wellFormed = [](const QString& v) { return QStringView(v).isValidUtf16(); };
    static const char* const lookups[] = {
        "frmMine",  "frmMine.Caption", "frmTools", "cmdadd.ToolTipText",    "Strings", "0001",
        "Language", "CurrentLanguage", "frmMine",  "mnuLanguage(2).Caption"};
    for (int i = 0; i < 10; i += 2) {
        const QString section = lookups[i], key = lookups[i + 1];
        // The INI rules never fail on content, and cut long values.
        const auto ini = LangFile::readLangValueFromBytes(in, section, key, Mode::Ini);
        check(ini && ini->size() <= LangFile::MaxValueLength && wellFormed(*ini));
        // A whole section read at once gives every key's value as the one lookup does.
        check(LangFile::readSection(in, section).value(LangFile::foldedName(key)) == *ini);
        const auto line = LangFile::readLangValueFromBytes(in, section, key, Mode::LineByLine);
        check(!line || wellFormed(*line));
    }
    QString value = QString::fromLatin1(in.first(std::min<qsizetype>(in.size() / 2, 40)));
    value.remove(QChar(u'\r')).remove(QChar(u'\n')).remove(QChar(0));
    const QString section = "Language", key = "CurrentLanguage";
    const auto out = LangFile::writeLangValueToBytes(in, section, key, value);
    check(out.ok());
    const auto back = LangFile::readLangValueFromBytes(*out, section, key, Mode::Ini);
    check(back && *back == value);
    const auto again = LangFile::writeLangValueToBytes(*out, section, key, value);
    check(again && *again == *out); // again: no change
    // Only one line's text may change: no line break of the old content disappears.
    const auto [from, fromOut] = std::mismatch(in.begin(), in.end(), out->begin(), out->end());
    const auto to = std::mismatch(in.rbegin(), std::make_reverse_iterator(from), out->rbegin(),
                                  std::make_reverse_iterator(fromOut))
                        .first.base();
    check(std::find(from, to, '\n') == to);
    return 0;
}
