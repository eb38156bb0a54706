#pragma once

#include <QIcon>
#include <QString>

// What the contact tools window needs of the window that opened it.
class ToolsHost
{
public:
    virtual ~ToolsHost() = default;

    virtual QIcon icon() const = 0;
    // The direction digit of the current language as last read ("0": right to left); the designed
    // text of the flag box when no language file was read.
    virtual QString directionFlag() const = 0;
    // The picture folder, read when pictures are added.
    virtual QString pictureFolder() const = 0;
    // Shows the current language's name in the opener's language list.
    virtual void showLanguage(const QString& name) = 0;
    // Pictures were copied into the picture folder.
    virtual void picturesAdded() = 0;
};
