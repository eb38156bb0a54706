#include "VendorSite.h"

QUrl vendorUrl(const QString& path)
{
    return QUrl(QStringLiteral(DORVANE_VENDOR_URL) + path);
}
