#include "X11KeyboardLayout.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

X11KeyboardLayout::X11KeyboardLayout(Display* display) : m_display(display) {}

quint32 X11KeyboardLayout::current() const
{
    const int group = lockedGroup();
    if (group < 0)
        return Unknown;
    return handleFor(group, layouts());
}

quint32 X11KeyboardLayout::handleFor(int group, const QStringList& layouts)
{
    if (group == 0 && !layouts.isEmpty() && layouts.first() == QLatin1String("us"))
        return UsEnglish;
    return OtherGroupBase + static_cast<quint32>(group);
}

void X11KeyboardLayout::activateNext()
{
    const int group = lockedGroup();
    const int count = groupCount();
    if (!m_display || group < 0 || count <= 1)
        return;
    XkbLockGroup(m_display, XkbUseCoreKbd, static_cast<unsigned int>((group + 1) % count));
    XFlush(m_display);
}

int X11KeyboardLayout::lockedGroup() const
{
    if (!m_display)
        return -1;
    XkbStateRec state{};
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.group;
}

int X11KeyboardLayout::groupCount() const
{
    if (!m_display)
        return 0;
    int count = 0;
    if (XkbDescPtr desc = XkbAllocKeyboard()) {
        if (XkbGetControls(m_display, XkbGroupsWrapMask, desc) == Success && desc->ctrls)
            count = desc->ctrls->num_groups;
        XkbFreeKeyboard(desc, 0, True);
    }
    return count > 0 ? count : static_cast<int>(layouts().size());
}

QStringList X11KeyboardLayout::layouts() const
{
    if (!m_display)
        return {};
    // The rules the layout was set up with: rules, model, layouts, variants and options, each
    // ended by a zero byte; the layouts are separated by commas.
    const Atom atom = XInternAtom(m_display, "_XKB_RULES_NAMES", True);
    if (atom == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(m_display, DefaultRootWindow(m_display), atom, 0, 1024, False, XA_STRING,
                           &type, &format, &count, &remaining, &data);
    QStringList result;
    if (status == Success && data && format == 8) {
        const QByteArray raw(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
        const QList<QByteArray> fields = raw.split('\0');
        if (fields.size() > 2) {
            for (const QByteArray& layout : fields.at(2).split(','))
                result.append(QString::fromLatin1(layout.trimmed()));
        }
    }
    if (data)
        XFree(data);
    return result;
}
