#include "FirstRunNotice.h"
#include "core/language/Texts.h"

#include <QObject>
#include <QTemporaryFile>

namespace FirstRunNotice {

void StringToBytes(QByteArray& bytes, const QString& text)
{
    if (text.isEmpty())
        return;
    bytes = text.toLatin1();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char(' '))
            bytes[i] = '+';
    }
}

namespace {

QString htmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

} // namespace

Result<QUrl> writePage(const QString& folder, const QUrl& action, const QByteArray& postData)
{
    QString fields;
    for (const QByteArray& pair : postData.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        const QByteArray name = eq < 0 ? pair : pair.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        // The bytes are form-encoded; the browser encodes the fields again when it posts them.
        const QString decodedName = QUrl::fromPercentEncoding(QByteArray(name).replace('+', ' '));
        const QString decodedValue = QUrl::fromPercentEncoding(QByteArray(value).replace('+', ' '));
        fields += QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\">\n")
                      .arg(htmlEscaped(decodedName), htmlEscaped(decodedValue));
    }
    const QString page =
        QStringLiteral(
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Dorvane</title></head>\n"
            "<body onload=\"document.forms[0].submit()\">\n"
            "<form method=\"post\" action=\"%1\" "
            "enctype=\"application/x-www-form-urlencoded\">\n%2"
            "<noscript><input type=\"submit\" value=\"Send\"></noscript>\n"
            "</form>\n</body></html>\n")
            .arg(htmlEscaped(action.toString(QUrl::FullyEncoded)), fields);

    // A name of its own in a folder other users may share; the browser opens it later, so it
    // stays behind.
    QTemporaryFile file(folder + QStringLiteral("/dorvane-start-XXXXXX.html"));
    file.setAutoRemove(false);
    if (!file.open() || file.write(page.toUtf8()) < 0 || !file.flush()) {
        const QString reason = file.errorString();
        file.remove();
        return Failure{Texts::text(Text::FirstRunPage).arg(reason)};
    }
    return QUrl::fromLocalFile(file.fileName());
}

} // namespace FirstRunNotice
