#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The messages the program shows besides its windows' captions, each by the id under which the
// language files' [Strings] section holds it.
enum class Text {
    AlreadyRunning,
    PicturesAddedCount,
    PicturesAddedTitle,
    SelectPicturesFirst,
    NextPicture,
    PauseRotation,
    ResumeRotation,
    PicturesGoTo,
    NoClientReceives,
    LastFailure,
    OutageBegins,
    OutageEnds,
    HarvestFolderOfOtherUser,
    PicturesNotAdded,
    CachedNotCopied,
    NoPictureFolderToAdd,
    PreviousPicture,
    RotationOff,
    NoPictureFolder,
    NoPictures,
    WaitingForAClient,
    RotationPaused,
    FolderNotFollowed,
    SelectFolder,
    NoLanguageFiles,
    WaitingForClient,
    NoPictureSelected,
    NoClientAvailable,
    NameLanguage,
    NameMinutes,
    NameSeconds,
    NamePictureFolder,
    NamePictures,
    NameCurrentPicture,
    NameSignInNames,
    NameNicknames,
    NameCachedPictures,
    NameCachedPicture,
    OldestPicture,
    RotationOffTickFirst,
    NotInList,
    NotDeleted,
    ReasonOff,
    ReasonPaused,
    BrowserNotStarted,
    NoBrowser,
    PeerNotRunning,
    NoSessionBus,
    NameTaken,
    NoState,
    FirstRunPage,
    EntryNotRemovedBecause,
    EntryNameNotWritten,
    EntryNameNotRemoved,
    EntryNotWrittenBecause,
    SettingsNotWritten,
    SettingsDamaged,
    NotAFile,
    SettingsTooLarge,
    SettingsNotRead,
    LineTooShort,
    CannotStoreLine,
    NoLanguageFolder,
    FolderUnusable,
    FolderOpenToOthers,
    FolderNotUsed,
    FolderIsLink,
    FolderIsNoFolder,
    FolderOfOtherUser,
    FolderNotCreated,
    FolderVanished,
    TheMessengerClient,
    PeerOddAnswer,
    BusUnreachable,
    PictureNotRead,
    NotAPicture,
    PidginOddAnswer,
    PictureReadTooSlow,
    PidginOddBuddyList,
    PidginOddBuddyName,
    UnknownOption,
    OneOptionAtATime,
    HelpUsage,
    HelpWhat,
    HelpWithout,
    HelpOptions,
    HelpNext,
    HelpPrevious,
    HelpPause,
    HelpResume,
    HelpShow,
    HelpStatus,
    HelpHelp,
    HelpVersion,
    HelpExits,
    StatusPicture,
    StatusFolder,
    StatusRotation,
    StatusClient,
    StatusNoneSent,
    StatusNone,
    NoAnswerInTime,
    TheSessionBus,
    NotOrdinaryFile,
    StatusReceives,
    StatusFails,
    // The XMPP client
    XmppOffline,
    XmppConnecting,
    XmppConnected,
    XmppPublishing,
    XmppWrongPassword,
    XmppUnreachable,
    XmppCertificateRefused,
    XmppStateDetail,
    XmppConnectionLost,
    XmppPictureRefused,
    XmppHostNotFound,
    // The avatar and the keyring
    AvatarNotMade,
    NoKeyring,
    KeyringReadFailed,
    KeyringWriteFailed,
    KeyringRemoveFailed,
    KeyringNoReason,
    // The account list and its window.
    AccountsTitle,
    AccountsOpen,
    AccountsOpenTip,
    AccountsAdd,
    AccountsRemove,
    AccountsClose,
    AccountsList,
    AccountsAddress,
    AccountsState,
    AccountsDisabled,
    AccountsNoPassword,
    AccountsNoKeyring,
    AccountsRemoveAsk,
    AccountsPasswordFor,
    AccountsNotAnAddress,
    AccountsNotAServer,
    AccountsNoPasswordGiven,
    AccountsAddressField,
    AccountsPasswordField,
    AccountsServerField,
    AccountsNewTitle,
    AccountsOk,
    AccountsCancel,
    AccountsPasswordLeft
};

// Messages in the current language, with English where its file has none: never an empty text.
class Texts
{
public:
    struct Entry
    {
        Text text;
        const char* id;
        const char* english;
    };
    // Every message: what a complete language file gives.
    static const QList<Entry>& all();
    static QString english(Text text);
    // The message in the current language; callable from any thread.
    static QString text(Text text);
    // The current language's messages by id; the language support hands them over whenever the
    // current language changes.
    static void use(const QHash<QString, QString>& messages);

private:
    static const Entry& entry(Text text);
};
