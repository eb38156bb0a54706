#include "RotationControl.h"

RotationControl::~RotationControl() = default;
