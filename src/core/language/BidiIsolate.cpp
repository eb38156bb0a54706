#include "BidiIsolate.h"

namespace {

constexpr char16_t LeftToRightIsolate = 0x2066;
constexpr char16_t RightToLeftIsolate = 0x2067;
constexpr char16_t FirstStrongIsolate = 0x2068;
constexpr char16_t PopDirectionalIsolate = 0x2069;

} // namespace

QString bidiIsolated(const QString& inserted)
{
    if (inserted.isEmpty())
        return inserted;
    QString result{QChar(FirstStrongIsolate)};
    int open = 0;
    for (const QChar c : inserted) {
        const char16_t unit = c.unicode();
        if (unit == LeftToRightIsolate || unit == RightToLeftIsolate ||
            unit == FirstStrongIsolate) {
            ++open;
        } else if (unit == PopDirectionalIsolate) {
            if (open == 0)
                continue;
            --open;
        }
        result += c;
    }
    result += QString(open + 1, QChar(PopDirectionalIsolate));
    return result;
}
