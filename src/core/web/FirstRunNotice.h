#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// The first-run notice: a small page in the temporary folder whose form posts the notice to
// the vendor site and submits itself when the browser loads it.
namespace FirstRunNotice {

// The text as single-byte codes, a space stored as "+"; an empty text leaves bytes unchanged.
void StringToBytes(QByteArray& bytes, const QString& text);

// Writes the page into the folder and returns its file:// address.
Result<QUrl> writePage(const QString& folder, const QUrl& action, const QByteArray& postData);

} // namespace FirstRunNotice
