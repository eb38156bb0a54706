#pragma once

#include <QString>
#include <QUrl>

// The vendor web site's address (scheme and host, set at build time), and a page on it.
QUrl vendorUrl(const QString& path = QString());
