#include "ShowPictureFile.h"
