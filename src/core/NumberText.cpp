#include "NumberText.h"

#include <QRegularExpression>

#include <cmath>

std::optional<double> NumberText::leading(const QString& text, qsizetype* end)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double value = match.captured(1).toDouble();
    if (!std::isfinite(value))
        return std::nullopt;
    if (end)
        *end = match.capturedEnd(1);
    return value;
}

std::optional<double> NumberText::whole(const QString& text)
{
    qsizetype end = 0;
    const std::optional<double> value = leading(text, &end);
    if (!value || !text.mid(end).trimmed().isEmpty())
        return std::nullopt;
    return value;
}
