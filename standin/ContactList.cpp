#include "ContactList.h"

#include <QFile>
#include <QStringDecoder>

namespace standin {

ContactList::ContactList(QList<Contact> contacts) : m_contacts(std::move(contacts)) {}

ContactList ContactList::samples()
{
    return ContactList({
        {QStringLiteral("ada.lovelace@dorvane.example"), QStringLiteral("Ada Lovelace")},
        {QStringLiteral("zoe.angstrom@dorvane.example"), QStringLiteral("Zoë Ångström")},
        {QStringLiteral("karim.alali@dorvane.example"), QStringLiteral("كريم العلي")},
        {QStringLiteral("sam.archer@dorvane.example"), QStringLiteral("Sam")},
        {QStringLiteral("lukasz.wrobel@dorvane.example"), QStringLiteral("Łukasz Wróbel")},
        {QStringLiteral("sam.baker@dorvane.example"), QStringLiteral("Sam")},
        {QStringLiteral("li.wei@dorvane.example"), QStringLiteral("李伟")},
        {QStringLiteral("noor@dorvane.example"), QStringLiteral("Noor (away)")},
    });
}

ContactList ContactList::parse(const QByteArray& text, QStringList* problems)
{
    auto report = [problems](qsizetype lineNumber, const QString& what) {
        if (problems)
            problems->append(QStringLiteral("line %1: %2").arg(lineNumber).arg(what));
    };

    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    QList<Contact> contacts;
    qsizetype lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        const qsizetype newline = rest.indexOf('\n');
        QByteArrayView line = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;

        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(line);
        if (decoder.hasError()) {
            report(lineNumber, QStringLiteral("not valid UTF-8, left out"));
            continue;
        }
        const qsizetype tab = decoded.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            report(lineNumber, QStringLiteral("no tab between sign-in name and nickname, "
                                              "left out"));
            continue;
        }
        Contact contact{decoded.first(tab).trimmed(), decoded.sliced(tab + 1)};
        if (contact.signinName.isEmpty()) {
            report(lineNumber, QStringLiteral("empty sign-in name, left out"));
            continue;
        }
        // A NUL cannot travel in a D-Bus string, and other control characters have no place
        // in a name; a tab inside the nickname is kept as text.
        if (hasControlCharacter(contact.signinName) ||
            hasControlCharacter(QString(contact.friendlyName).remove(QLatin1Char('\t')))) {
            report(lineNumber, QStringLiteral("control character in a name, left out"));
            continue;
        }
        contacts.append(std::move(contact));
    }
    return ContactList(std::move(contacts));
}

std::optional<ContactList> ContactList::load(const QString& path, QString* error,
                                             QStringList* problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return parse(text, problems);
}

bool ContactList::hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

} // namespace standin
