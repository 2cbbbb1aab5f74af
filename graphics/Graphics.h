/*
 * Graphics: one OpenGL window for a C program, drawn into frame by frame.
 *
 * Everything runs on the thread that called InitGraph. Two window-coordinate conventions meet
 * here: GetMousePosition reports client pixels from the top-left with y downwards, while
 * SetViewPort and the conversions use OpenGL window pixels from the bottom-left with y upwards.
 * Angles are degrees unless a function says otherwise. Handles are small int indices that the
 * library does not validate. Integer arguments naming an OpenGL mode are OpenGL's own values.
 */
#ifndef GRAPHICS_H
#define GRAPHICS_H

#if defined(__GNUC__)
#define GRAPHICS_API __attribute__((visibility("default")))
#else
#define GRAPHICS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Window and frame loop ------------------------------------------------------------------ */

/* Opens the window with a client area of width x height pixels. fullscreen == 1 switches the
 * display to width x height; any other value gives a window centred on the screen. The title is
 * UTF-8 (NULL gives an empty title). Returns 1 when the window and context are ready, 0 after a
 * failure that has been reported in a message box. Only one window per process. */
GRAPHICS_API int InitGraph(int width, int height, int fullscreen, const char *title);
/* Handles at most one pending window event, lets the input library poll and presents the back
 * buffer. Returns nonzero when the frame was shown, 0 once the window has been closed. */
GRAPHICS_API int UpdateScreen(void);
/* Size of the primary display in pixels. */
GRAPHICS_API void GetScreenSize(int *width, int *height);
/* Size of the client area in pixels; 0 x 0 before InitGraph and after the window closed. */
GRAPHICS_API void GetWindowSize(int *width, int *height);
/* Pointer position in client pixels, origin top-left, y downwards; negative to the left of or
 * above the window, beyond the size to the right or below. 0, 0 when there is no window. */
GRAPHICS_API void GetMousePosition(int *x, int *y);
/* The window (an SDL_Window*) as an opaque pointer; NULL before InitGraph and after closing. */
GRAPHICS_API void *GetGraphicsWindowHandle(void);
/* An opaque instance value handed to the input library; NULL before InitGraph. */
GRAPHICS_API void *GetGraphicsWindowInstance(void);

/* ---- Colour and render state ---------------------------------------------------------------- */

/* Palette colour 0 to 31 as drawing colour (alpha 1); every other index, negative too, is white.
 * The colour is also the one Clear uses. */
GRAPHICS_API void SetColor(int index);
/* Drawing colour from components nominally 0 to 255 (divided by 255, not clamped here). */
GRAPHICS_API void SetColorRGBA(int red, int green, int blue, int alpha);
/* Clears colour (to the drawing colour, alpha 1), depth and stencil; only the scissor box while
 * the scissor test is on. */
GRAPHICS_API void Clear(void);
/* Viewport and scissor box in window pixels from the bottom-left; switches the scissor test on. */
GRAPHICS_API void SetViewPort(int x, int y, int width, int height);
/* Shapes filled from now on (polygon mode fill). Shapes start as outlines. */
GRAPHICS_API void SetFilledMode(void);
/* Shapes as outlines from now on (polygon mode line, for every polygon drawn). */
GRAPHICS_API void SetOutlineMode(void);
/* Point diameter in pixels. */
GRAPHICS_API void SetPointSize(float size);
/* Line width in pixels. */
GRAPHICS_API void SetLineWidth(float width);

/* Capability switches. On after InitGraph: depth test, alpha test (> 0), scissor test, blend. */
GRAPHICS_API void EnableDepthTest(void);
GRAPHICS_API void DisableDepthTest(void);
GRAPHICS_API void EnableAlphaTest(void);
GRAPHICS_API void DisableAlphaTest(void);
GRAPHICS_API void EnableStencilTest(void);
GRAPHICS_API void DisableStencilTest(void);
GRAPHICS_API void EnableScissorTest(void);
GRAPHICS_API void DisableScissorTest(void);
GRAPHICS_API void EnableBlend(void);
GRAPHICS_API void DisableBlend(void);
GRAPHICS_API void EnableFaceCulling(void);
GRAPHICS_API void DisableFaceCulling(void);
GRAPHICS_API void EnableTexturing(void);
GRAPHICS_API void DisableTexturing(void);
GRAPHICS_API void EnableLineStipple(void);
GRAPHICS_API void DisableLineStipple(void);

/* Render-state parameters, passed to OpenGL unchanged (invalid values only set its error flag). */
GRAPHICS_API void SetDepthFunction(int function); /* glDepthFunc */
GRAPHICS_API void SetDepthMask(int flag);         /* 0 off, else on */
GRAPHICS_API void SetStencilFunction(int function, int reference, unsigned int mask);
GRAPHICS_API void SetStencilOptions(int stencilFail, int depthFail, int pass); /* glStencilOp */
GRAPHICS_API void SetBlendFunction(int sourceFactor, int destinationFactor);
GRAPHICS_API void SetLineStipple(int factor, int pattern); /* low 16 bits of pattern, bit 0 first */

/* ---- Cameras and transforms ----------------------------------------------------------------- */

/* ---- Primitives ----------------------------------------------------------------------------- */

/* ---- Textures and images -------------------------------------------------------------------- */

/* ---- Bitmap text ---------------------------------------------------------------------------- */

/* Draws printable ASCII (32 to 126) in an 8 x 13 font from the point (x, y), which goes through
 * the current matrices; the baseline is there and descenders hang 2 pixels below. Each glyph
 * advances 10 window pixels; other bytes draw nothing and do not move. No line breaks. */
GRAPHICS_API void PrintAt(float x, float y, const char *text);

/* ---- Vector fonts --------------------------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* GRAPHICS_H */
