#include "GraphicsState.h"

GraphicsState graphicsState;
