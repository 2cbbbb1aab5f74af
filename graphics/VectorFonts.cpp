// Vector fonts: text in fonts loaded from files, drawn as textured quads in world coordinates
// with the pen starting at (0, 0) of the current model-view matrix and lines going down. Fonts
// are handed to C programs as indices into a table of 1,024 slots; the lowest free slot is taken
// first, and a failed load still takes a slot whose text draws nothing. The text layer does the
// work; these functions only map handles to fonts.
#include "Graphics.h"
#include "HandleTable.h"
#include "LoadReports.h"
#include "TextLayer.h"

namespace graphics {
namespace {

struct FontSlot {
    bool Free = true;
    VectorFont *Font = nullptr;  // owned; null when the load failed
    int Size = 0;                // points; one point is one pixel
};

// Handles from outside the table find no slot and behave like a failed load.
HandleTable<FontSlot, 1024> fontTable;
RepeatedLoadWatch fontLoads("fonts", fontTable.Size());

// Makes the handle's font current; false when there is nothing to draw or measure with.
bool SelectSlot(int handle) {
    const FontSlot *slot = fontTable.Find(handle);
    if (slot == nullptr) return false;
    dtx_select_font(slot->Font, slot->Size);
    return true;
}

TextBox MeasureWithFont(int handle, const char *text) {
    if (!SelectSlot(handle)) return dtx_measure_string("");
    return dtx_measure_string(text);
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API int LoadVectorFont(const char *path, int size) {
    const int handle = fontTable.LowestFree();
    if (handle == kNoHandle) return kNoHandle;
    FontSlot &slot = fontTable[handle];
    slot.Font = dtx_open_font(path, size);
    slot.Size = size;
    slot.Free = false;
    fontLoads.Loaded(handle, path);
    return handle;
}

GRAPHICS_API void DrawVectorFont(int handle, const char *text) {
    if (SelectSlot(handle)) dtx_draw_string(text);
}

GRAPHICS_API void DeleteVectorFont(int handle) {
    FontSlot *slot = fontTable.Find(handle);
    if (slot == nullptr) return;
    dtx_release_font(slot->Font);
    slot->Font = nullptr;
    slot->Free = true;
    fontLoads.Released(handle);
}

GRAPHICS_API float GetVectorFontStringWidth(int handle, const char *text) {
    return MeasureWithFont(handle, text).Width;
}

GRAPHICS_API float GetVectorFontStringHeight(int handle, const char *text) {
    return MeasureWithFont(handle, text).Height;
}

}  // extern "C"

}  // namespace graphics
