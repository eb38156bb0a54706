#pragma once

#include "Contact.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

namespace standin {

// The signed-in user's contacts, in the order the client enumerates them.
class ContactList
{
public:
    ContactList() = default;
    explicit ContactList(QList<Contact> contacts);

    // Built-in contacts: non-ASCII and right-to-left nicknames and two contacts that share
    // a nickname, the cases a contact list must get right.
    static ContactList samples();

    // One contact per line, "signin<TAB>nickname", UTF-8; the nickname is everything after
    // the first tab. Empty lines are ignored; a line that cannot be a contact (no tab, no
    // sign-in name, invalid UTF-8, control characters) is left out and described in
    // *problems as "line N: ...". A byte-order mark and CR-LF line ends are accepted.
    static ContactList parse(const QByteArray& text, QStringList* problems = nullptr);
    // Reads and parses a file; nullopt with *error when the file cannot be read.
    static std::optional<ContactList> load(const QString& path, QString* error,
                                           QStringList* problems = nullptr);

    const QList<Contact>& contacts() const { return m_contacts; }
    qsizetype size() const { return m_contacts.size(); }
    bool isEmpty() const { return m_contacts.isEmpty(); }

private:
    static bool hasControlCharacter(const QString& text);

    QList<Contact> m_contacts;
};

} // namespace standin
