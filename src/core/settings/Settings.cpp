#include "Settings.h"

#include "core/NumberText.h"
#include "core/fs/AppPaths.h"
#include "core/language/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <array>
#include <cmath>

namespace {

struct EntryRow
{
    Settings::Entry entry;
    const char* section;
    const char* key;
    const char* defaultValue;
};

// Every setting: its section, its key and the default a reader uses when it is absent.
constexpr std::array<EntryRow, 9> kEntries{{
    {Settings::Entry::FirstRun, "firstrun", "state", "0"},
    {Settings::Entry::AutoRun, "autorun", "state", "0"},
    {Settings::Entry::Random, "random", "state", "0"},
    {Settings::Entry::Control, "control", "state", "0"},
    {Settings::Entry::WinMode, "winmode", "state", "0"},
    {Settings::Entry::TimerMinutes, "timer", "timem", "0"},
    {Settings::Entry::TimerSeconds, "timer", "times", "30"},
    {Settings::Entry::ImagePath, "imagepath", "path", ""},
    // Red 248, green 248, blue 244.
    {Settings::Entry::Color, "color", "code", "16054520"},
}};

const EntryRow& row(Settings::Entry entry)
{
    for (const EntryRow& r : kEntries) {
        if (r.entry == entry)
            return r;
    }
    return kEntries.front();
}

QString matching(const QStringList& names, const QString& wanted)
{
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

QString statusText(QSettings::Status status, const QString& path)
{
    switch (status) {
    case QSettings::AccessError:
        return Texts::text(Text::SettingsNotWritten).arg(path);
    case QSettings::FormatError:
        return Texts::text(Text::SettingsDamaged).arg(path);
    default:
        return {};
    }
}

} // namespace

Result<void> Settings::checkFile() const
{
    const QFileInfo info(m_filePath);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return Failure{Texts::text(Text::NotAFile).arg(m_filePath)};
    if (info.size() > MaxFileSize)
        return Failure{Texts::text(Text::SettingsTooLarge).arg(m_filePath)};
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{Texts::text(Text::SettingsNotRead).arg(m_filePath, file.errorString())};
    const QByteArray content = file.readAll();
    // QSettings reads what it can of a damaged file and drops the rest when it writes the file
    // again; such a file is left untouched and read as absent instead.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(content);
    bool sound = !decoder.hasError() && !content.contains('\0');
    if (sound) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (QString line : lines) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
                line.startsWith(QLatin1Char('#')))
                continue;
            if (line.startsWith(QLatin1Char('[')) ? !line.endsWith(QLatin1Char(']'))
                                                  : !line.contains(QLatin1Char('='))) {
                sound = false;
                break;
            }
        }
    }
    if (!sound)
        return Failure{statusText(QSettings::FormatError, m_filePath)};
    return {};
}

Settings::Settings(const QString& filePath) : m_filePath(filePath) {}

Settings::~Settings() = default;

QSettings* Settings::store() const
{
    if (!m_checked) {
        m_checked = true;
        // A file that cannot be parsed, or no real settings file, counts as absent.
        if (const Result<void> sound = checkFile(); !sound)
            qWarning("Dorvane: %s", qPrintable(sound.error()));
        else
            m_store = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
    }
    return m_store.get();
}

QString Settings::defaultFilePath()
{
    return AppPaths::userConfigDir() + QStringLiteral("/Dorvane.ini");
}

QString Settings::GetSetting(const QString& section, const QString& key,
                             const QString& defaultValue) const
{
    // The file is read once, at the first reading; it is read again when a write finds it
    // changed by hand or by another copy.
    QSettings* found = store();
    if (!found)
        return defaultValue;
    QSettings& store = *found;
    // The same section may be spelt in several letter cases (a file edited by hand); the
    // program's own lower-case spelling is looked at first.
    QStringList groups;
    for (const QString& group : store.childGroups()) {
        if (group.compare(section, Qt::CaseInsensitive) == 0) {
            if (group == section.toLower())
                groups.prepend(group);
            else
                groups.append(group);
        }
    }
    QVariant value;
    for (const QString& group : groups) {
        store.beginGroup(group);
        const QString name = matching(store.childKeys(), key);
        if (!name.isEmpty())
            value = store.value(name);
        store.endGroup();
        if (!name.isEmpty())
            break;
    }
    if (!value.isValid())
        return defaultValue;
    // A value QSettings reads as a list ("a, b") is still one text to us.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

Result<void> Settings::SaveSetting(const QString& section, const QString& key, const QString& value)
{
    return save({{section, key, value}});
}

Result<void> Settings::save(const QList<Value>& values)
{
    if (Result<void> open = openForWriting(); !open)
        return open;
    QSettings& store = *m_store;
    bool changed = false;
    for (const Value& value : values) {
        const QString lowerSection = value.section.toLower();
        const QString lowerKey = value.key.toLower();
        // Drop spellings of the same entry in other letter cases so that one value remains.
        for (const QString& group : store.childGroups()) {
            if (group.compare(value.section, Qt::CaseInsensitive) != 0)
                continue;
            store.beginGroup(group);
            for (const QString& name : store.childKeys()) {
                if (name.compare(value.key, Qt::CaseInsensitive) == 0 &&
                    (group != lowerSection || name != lowerKey)) {
                    store.remove(name);
                    changed = true;
                }
            }
            store.endGroup();
        }
        const QString path = lowerSection + QLatin1Char('/') + lowerKey;
        const QVariant current = store.value(path);
        if (current.userType() == QMetaType::QString && current.toString() == value.text)
            continue;
        store.setValue(path, value.text);
        changed = true;
    }
    // Nothing new, nothing written (a start-up's Apply stores what it read); otherwise one
    // replacement of the file for all of them.
    if (!changed)
        return {};
    return sync();
}

Result<void> Settings::replaceSection(const QString& section,
                                      const QList<std::pair<QString, QString>>& keys)
{
    if (Result<void> open = openForWriting(); !open)
        return open;
    QSettings& store = *m_store;
    for (const QString& group : store.childGroups()) {
        if (group.compare(section, Qt::CaseInsensitive) == 0)
            store.remove(group);
    }
    for (const auto& [key, text] : keys)
        store.setValue(section.toLower() + QLatin1Char('/') + key.toLower(), text);
    return sync();
}

Result<void> Settings::openForWriting()
{
    // Writing would replace a file we could not read; it is left for the user to mend.
    if (Result<void> sound = checkFile(); !sound)
        return sound;
    if (!m_store) // mended meanwhile: read from now on
        m_store = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
    m_checked = true;
    return {};
}

Result<void> Settings::sync()
{
    m_store->sync();
    if (m_store->status() != QSettings::NoError)
        return Failure{statusText(m_store->status(), m_filePath)};
    return {};
}

QString Settings::section(Entry entry)
{
    return QString::fromLatin1(row(entry).section);
}

QString Settings::key(Entry entry)
{
    return QString::fromLatin1(row(entry).key);
}

QString Settings::defaultValue(Entry entry)
{
    return QString::fromLatin1(row(entry).defaultValue);
}

QString Settings::read(Entry entry) const
{
    return read(entry, defaultValue(entry));
}

QString Settings::read(Entry entry, const QString& defaultValue) const
{
    return GetSetting(section(entry), key(entry), defaultValue);
}

Result<void> Settings::write(Entry entry, const QString& value)
{
    return SaveSetting(section(entry), key(entry), value);
}

Result<void> Settings::write(const QList<std::pair<Entry, QString>>& entries)
{
    QList<Value> values;
    for (const auto& [entry, text] : entries)
        values.append({section(entry), key(entry), text});
    return save(values);
}

double Settings::readNumber(Entry entry) const
{
    if (auto value = NumberText::whole(read(entry)))
        return *value;
    return NumberText::whole(defaultValue(entry)).value_or(0.0);
}

bool Settings::readFlag(Entry entry) const
{
    return readNumber(entry) != 0.0;
}

std::optional<quint32> Settings::chosenColor() const
{
    const auto value = NumberText::whole(read(Entry::Color, QString()));
    // Stored as signed 32-bit text; anything outside 32 bits is not a colour.
    if (!value || *value != std::floor(*value) || *value < -2147483648.0 || *value > 4294967295.0)
        return std::nullopt;
    const auto colour = static_cast<quint32>(static_cast<qint64>(*value));
    // The default colour stands for the desktop's palette, which a window follows.
    if (colour == defaultValue(Entry::Color).toUInt())
        return std::nullopt;
    return colour;
}
