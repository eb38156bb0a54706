#include "FrmMine.h"
