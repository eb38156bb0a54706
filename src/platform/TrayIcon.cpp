#include "TrayIcon.h"

TrayIcon::~TrayIcon() = default;
