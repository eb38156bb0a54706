#include "LangFile.h"
