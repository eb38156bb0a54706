#pragma once

#include <QIcon>

// The application icon, drawn by the program.
QIcon appIcon();
