#include "KeyboardLayoutFactory.h"

#include "platform/NoKeyboardLayout.h"

#ifdef DORVANE_HAVE_X11
#include "platform/x11/X11KeyboardLayout.h"

#include <QGuiApplication>
#endif

std::unique_ptr<KeyboardLayout> createKeyboardLayout()
{
#ifdef DORVANE_HAVE_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (Display* display = x11->display())
                return std::make_unique<X11KeyboardLayout>(display);
        }
    }
#endif
    return std::make_unique<NoKeyboardLayout>();
}
