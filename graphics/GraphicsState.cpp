#include "GraphicsState.h"

namespace graphics {

GraphicsState graphicsState;

}  // namespace graphics
