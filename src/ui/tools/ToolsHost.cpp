#include "ToolsHost.h"

ToolsHost::~ToolsHost() = default;
