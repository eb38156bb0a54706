#include "ImageHeaderReader.h"
