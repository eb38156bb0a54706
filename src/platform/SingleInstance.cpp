#include "SingleInstance.h"

SingleInstance::~SingleInstance() = default;
