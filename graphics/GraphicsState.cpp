// The library's one state record, zero at load like every static; the families that own its
// fields set them (see GraphicsState.h).
#include "GraphicsState.h"

namespace graphics {

GraphicsState graphicsState;

}  // namespace graphics
