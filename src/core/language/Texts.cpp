#include "Texts.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace {

// Pictures are checked and messages made on worker threads too.
QMutex lock;
QHash<QString, QString> current;

} // namespace

const QList<Texts::Entry>& Texts::all()
{
    static const QList<Entry> entries = {
        {Text::AlreadyRunning, "0001", "Dorvane is already running."},
        {Text::PicturesAddedCount, "0002", "picture(s) added to your images folder."},
        {Text::PicturesAddedTitle, "0003", "Pictures Added"},
        {Text::SelectPicturesFirst, "0004", "Select the pictures to add first."},
        {Text::NextPicture, "0005", "Next Picture"},
        {Text::PauseRotation, "0006", "Pause Rotation"},
        {Text::ResumeRotation, "0007", "Resume Rotation"},
        {Text::PicturesGoTo, "0008", "Pictures go to %1."},
        {Text::NoClientReceives, "0009", "No Messenger client receives the pictures."},
        {Text::LastFailure, "0010", "Last failure: %1"},
        {Text::OutageBegins, "0011", "Pictures have not reached %1 for a while: %2"},
        {Text::OutageEnds, "0012", "Pictures reach %1 again."},
        {Text::HarvestFolderOfOtherUser, "0013",
         "The folder \"%1\" belongs to another user, so no pictures were copied. Set Temp, TEMP "
         "and TMPDIR to a folder of your own, or unset them to use your own temporary folder, then "
         "start Dorvane again."},
        {Text::PicturesNotAdded, "0014", "These pictures could not be added:"},
        {Text::CachedNotCopied, "0015", "These cached pictures could not be copied:"},
        {Text::NoPictureFolderToAdd, "0016",
         "The picture folder \"%1\" does not exist; no picture was added."},
        {Text::PreviousPicture, "0040", "Previous Picture"},
        {Text::RotationOff, "0041", "Rotation is off."},
        {Text::NoPictureFolder, "0042", "The picture folder cannot be found."},
        {Text::NoPictures, "0043", "The picture folder has no pictures."},
        {Text::WaitingForAClient, "0044", "Waiting for a Messenger client."},
        {Text::RotationPaused, "0045", "Rotation is paused."},
        {Text::FolderNotFollowed, "0046",
         "The folder is looked at every few seconds (no file watches left)."},
        {Text::SelectFolder, "0047", "Select Images Folder"},
        {Text::NoLanguageFiles, "0048", "there are no languages files !"},
        {Text::WaitingForClient, "0049", "Waiting for the Messenger client..."},
        {Text::NoPictureSelected, "0050", "No picture is selected."},
        {Text::NoClientAvailable, "0051", "No Messenger client is available."},
        {Text::NameLanguage, "0052", "Language"},
        {Text::NameMinutes, "0053", "Minutes"},
        {Text::NameSeconds, "0054", "Seconds"},
        {Text::NamePictureFolder, "0055", "Picture folder"},
        {Text::NamePictures, "0056", "Pictures"},
        {Text::NameCurrentPicture, "0057", "Current picture"},
        {Text::NameSignInNames, "0058", "Sign-in names"},
        {Text::NameNicknames, "0059", "Nicknames"},
        {Text::NameCachedPictures, "0060", "Cached pictures"},
        {Text::NameCachedPicture, "0061", "Cached picture"},
        {Text::OldestPicture, "0062", "This is the oldest picture sent since Dorvane started."},
        {Text::RotationOffTickFirst, "0063",
         "Rotation is off: tick \"Enable Control.\" and press Apply first."},
        {Text::NotInList, "0064", "%1 is no longer in the picture list."},
        {Text::NotDeleted, "0065", "The picture %1 could not be deleted: %2"},
        {Text::ReasonOff, "0066", "Rotation is off (\"Enable Control.\" is cleared)."},
        {Text::ReasonPaused, "0067", "Paused from outside the window."},
        {Text::BrowserNotStarted, "0068", "The browser \"%1\" could not be started."},
        {Text::NoBrowser, "0069", "No web browser could be started for %1."},
        {Text::PeerNotRunning, "0070", "%1 is not running."},
        {Text::NoSessionBus, "0072", "No session bus: %1"},
        {Text::NameTaken, "0073",
         "Another program holds Dorvane's name on the session bus (process %1); Dorvane is not "
         "answering."},
        {Text::NoState, "0074", "Dorvane gave no state."},
        {Text::FirstRunPage, "0075", "The first-run page could not be written: %1"},
        {Text::EntryNotRemovedBecause, "0076", "The log-on entry %1 cannot be removed: %2"},
        {Text::EntryNameNotWritten, "0077", "The log-on entry \"%1\" cannot be written."},
        {Text::EntryNameNotRemoved, "0078", "The log-on entry \"%1\" cannot be removed."},
        {Text::EntryNotWrittenBecause, "0079", "The log-on entry %1 cannot be written: %2"},
        {Text::SettingsNotWritten, "0080", "The settings file %1 cannot be written."},
        {Text::SettingsDamaged, "0081",
         "The settings file %1 cannot be read; it was left as it is."},
        {Text::NotAFile, "0082", "%1 is not a file."},
        {Text::SettingsTooLarge, "0083",
         "The settings file %1 is far larger than any real one; it was left as it is."},
        {Text::SettingsNotRead, "0084", "The settings file %1 cannot be read: %2"},
        {Text::LineTooShort, "0085", "The line of %1 is too short to hold a value."},
        {Text::CannotStoreLine, "0086", "%1=%2 cannot be stored in a line of [%3]."},
        {Text::NoLanguageFolder, "0087", "There is no folder to keep the language choice in."},
        {Text::FolderUnusable, "0088", "The folder \"%1\" cannot be used: %2"},
        {Text::FolderOpenToOthers, "0089",
         "The folder \"%1\" is open to other users and cannot be closed to them: %2"},
        {Text::FolderNotUsed, "0090",
         "The folder \"%1\" was not used: %2. No pictures were copied into it."},
        {Text::FolderIsLink, "0091", "it is a symbolic link"},
        {Text::FolderIsNoFolder, "0092", "it is not a folder"},
        {Text::FolderOfOtherUser, "0093", "it belongs to another user"},
        {Text::FolderNotCreated, "0094", "The folder \"%1\" could not be created: %2"},
        {Text::FolderVanished, "0095", "The folder \"%1\" vanished as it was made."},
        {Text::TheMessengerClient, "0096", "The Messenger client"},
        {Text::PeerOddAnswer, "0099", "%1 sent an unexpected answer."},
        {Text::BusUnreachable, "0100", "The session bus cannot be reached: %1"},
        {Text::PictureNotRead, "0102", "%1 cannot be read: %2"},
        {Text::NotAPicture, "0103", "%1 cannot be read as a picture: %2"},
        {Text::PidginOddAnswer, "0104", "Pidgin sent an unexpected answer to %1."},
        {Text::PictureReadTooSlow, "0107",
         "%1 could not be read within %2 seconds; it may be on a share or disk that does not "
         "answer."},
        {Text::PidginOddBuddyList, "0108", "Pidgin sent an unexpected buddy list."},
        {Text::PidginOddBuddyName, "0109", "Pidgin sent an unexpected buddy name."},
        {Text::UnknownOption, "0110", "Unknown option: %1"},
        {Text::OneOptionAtATime, "0111", "Give one option at a time."},
        {Text::HelpUsage, "0112", "Usage: %1 [option]"},
        {Text::HelpWhat, "0113",
         "Changes your Messenger display picture on a timer from a folder of pictures."},
        {Text::HelpWithout, "0114",
         "Without an option the window starts (or the running copy comes forward)."},
        {Text::HelpOptions, "0115", "Options:"},
        {Text::HelpNext, "0116", "Send the next picture now (the running copy)."},
        {Text::HelpPrevious, "0117", "Send the picture sent before the current one again."},
        {Text::HelpPause, "0118", "Pause the rotation until --resume."},
        {Text::HelpResume, "0119", "Resume a paused rotation."},
        {Text::HelpShow, "0120", "Bring the running copy's window forward."},
        {Text::HelpStatus, "0121", "Show the running copy's picture, folder, state and client."},
        {Text::HelpHelp, "0122", "Show this help and exit."},
        {Text::HelpVersion, "0123", "Show the version and exit."},
        {Text::HelpExits, "0124",
         "These options exit with 1, saying why, when no copy of Dorvane is running or when it "
         "refused (--resume while rotation is off, --previous at the oldest picture)."},
        {Text::StatusPicture, "0125", "Picture: %1"},
        {Text::StatusFolder, "0126", "Folder: %1"},
        {Text::StatusRotation, "0127", "Rotation: %1"},
        {Text::StatusClient, "0128", "Client: %1"},
        {Text::StatusNoneSent, "0129", "(none sent yet)"},
        {Text::StatusNone, "0130", "(none)"},
        {Text::NoAnswerInTime, "0131", "%1 did not answer within %2 seconds."},
        {Text::TheSessionBus, "0132", "The session bus"},
        {Text::NotOrdinaryFile, "0133", "Not an ordinary file"},
        {Text::StatusReceives, "0134", "Destination %1: receives the pictures"},
        {Text::StatusFails, "0135", "Destination %1: %2"},
        // The XMPP client
        {Text::XmppOffline, "0140", "Offline"},
        {Text::XmppConnecting, "0141", "Connecting"},
        {Text::XmppConnected, "0142", "Connected"},
        {Text::XmppPublishing, "0143", "Publishing"},
        {Text::XmppWrongPassword, "0144", "Wrong password"},
        {Text::XmppUnreachable, "0145", "Server unreachable"},
        {Text::XmppCertificateRefused, "0146", "Certificate refused"},
        {Text::XmppStateDetail, "0147", "%1: %2"},
        {Text::XmppConnectionLost, "0148", "The connection to the server was lost."},
        {Text::XmppPictureRefused, "0149", "The server refused the picture: %1"},
        {Text::XmppHostNotFound, "0150", "%1 was not found"},
        // The avatar and the keyring
        {Text::AvatarNotMade, "0160", "The picture could not be made into an avatar."},
        {Text::NoKeyring, "0161",
         "No keyring answers on the session bus. Dorvane keeps passwords only in the desktop's "
         "keyring (a Secret Service, such as GNOME Keyring): start one and try again."},
        {Text::KeyringReadFailed, "0162",
         "The password of %1 could not be read from the keyring: %2"},
        {Text::KeyringWriteFailed, "0163",
         "The password of %1 could not be kept in the keyring: %2"},
        {Text::KeyringRemoveFailed, "0164",
         "The password of %1 could not be removed from the keyring: %2"},
        {Text::KeyringNoReason, "0165", "the keyring gave no reason"},
        // The account list and its window.
        {Text::AccountsTitle, "0170", "XMPP Accounts"},
        {Text::AccountsOpen, "0171", "Accounts..."},
        {Text::AccountsOpenTip, "0172",
         "Your XMPP accounts, which take each picture as their avatar"},
        {Text::AccountsAdd, "0173", "Add..."},
        {Text::AccountsRemove, "0174", "Remove"},
        {Text::AccountsClose, "0175", "Close"},
        {Text::AccountsList, "0176", "Accounts"},
        {Text::AccountsAddress, "0177", "Address"},
        {Text::AccountsState, "0178", "State"},
        {Text::AccountsDisabled, "0179", "Disabled"},
        {Text::AccountsNoPassword, "0180", "No password"},
        {Text::AccountsNoKeyring, "0181",
         "No keyring answers: passwords are kept for this run only."},
        {Text::AccountsRemoveAsk, "0182", "Remove the account %1 and its password?"},
        {Text::AccountsPasswordFor, "0183", "Password of %1:"},
        {Text::AccountsNotAnAddress, "0184",
         "%1 is no account address: it reads like name@example.org."},
        {Text::AccountsNotAServer, "0185",
         "%1 is no server: it reads like host or host:port, with a port from 1 to 65535."},
        {Text::AccountsNoPasswordGiven, "0186", "Enter the account's password."},
        {Text::AccountsAddressField, "0187", "Address:"},
        {Text::AccountsPasswordField, "0188", "Password:"},
        {Text::AccountsServerField, "0189", "Server (optional):"},
        {Text::AccountsNewTitle, "0190", "New Account"},
        {Text::AccountsOk, "0191", "OK"},
        {Text::AccountsCancel, "0192", "Cancel"},
        {Text::AccountsPasswordLeft, "0193",
         "The password of %1 was not removed from the keyring: %2"},
    };
    return entries;
}

const Texts::Entry& Texts::entry(Text text)
{
    const QList<Entry>& entries = all();
    return *std::find_if(entries.cbegin(), entries.cend(),
                         [text](const Entry& entry) { return entry.text == text; });
}

QString Texts::english(Text text)
{
    return QString::fromUtf8(entry(text).english);
}

QString Texts::text(Text text)
{
    QString translated;
    {
        const QMutexLocker locked(&lock);
        translated = current.value(QLatin1String(entry(text).id));
    }
    return translated.isEmpty() ? english(text) : translated;
}

void Texts::use(const QHash<QString, QString>& messages)
{
    const QMutexLocker locked(&lock);
    current = messages;
}
