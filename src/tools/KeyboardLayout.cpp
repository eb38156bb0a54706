#include "KeyboardLayout.h"

#include "tools/NoKeyboardLayout.h"

#ifdef DORVANE_HAVE_X11
#include "tools/X11KeyboardLayout.h"

#include <QGuiApplication>
#endif

KeyboardLayout::~KeyboardLayout() = default;

std::unique_ptr<KeyboardLayout> KeyboardLayout::createForPlatform()
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
