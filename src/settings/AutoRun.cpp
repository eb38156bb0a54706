#include "AutoRun.h"
