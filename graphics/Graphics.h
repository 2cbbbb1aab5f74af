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
/* Handles at most one pending window event (close, or Escape leaving fullscreen), lets the input
 * library poll and presents the back buffer, waiting for the display's refresh where the driver
 * can: the frame rate depends on the screen and the driver, so animate by elapsed time. Returns
 * nonzero when the frame was shown, 0 once the window has been closed; a program still calling
 * it 100 times after that is told once, on standard error, to end its frame loop. */
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

/* Palette colour 0 to 31 as drawing colour (alpha 1): 0 black, 1 blue, 2 red, 3 magenta, 4 green,
 * 5 cyan, 6 yellow, 7 white, and 24 more (the help's table). Every other index, negative too, is
 * white. The colour is also the one Clear uses. */
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
/* Shapes as outlines from now on. The polygon mode is OpenGL's, so textured rectangles,
 * vector-font text and filled free primitives show only their edges too; PrintAt and DrawImage
 * are not affected. */
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

/* Matrices are 16 doubles, column-major: row r, column c at index c * 4 + r (translation at 12,
 * 13, 14). A range or projection call leaves the projection matrix current, a camera call the
 * modelview matrix; the transforms and the push/pop pair act on whichever is current, so call a
 * camera after the range before transforming the scene. */

/* Orthographic 2D range (near -1, far 1) as projection; switches the depth test off. */
GRAPHICS_API void Set2DRange(double left, double right, double bottom, double top);
/* Modelview that puts the world point (x, y) at the range's origin (0, 0) and turns the scene
 * about it by angle degrees, counter-clockwise with y up. */
GRAPHICS_API void Set2DCamera(double x, double y, double angle);
/* Perspective projection (vertical field of view in degrees, aspect = width / height); switches
 * the depth test on. */
GRAPHICS_API void Set3DProjection(double fieldOfView, double aspect, double nearDistance,
                                  double farDistance);
/* Modelview of an eye at (x, y, z), in radians: yaw turns the view in the x-z plane from +x
 * (0) towards +z, pitch lifts it towards +y, roll tilts the up vector (-sin roll, cos roll, 0).
 * At yaw 0 +z is to the right; yaw -pi/2 looks along -z with +x to the right. Looking along the
 * up vector, the side vector (-sin yaw, 0, cos yaw) keeps the heading. */
GRAPHICS_API void Set3DCamera(double x, double y, double z, double yaw, double pitch, double roll);
/* Saves or restores the current matrix (stack overflow or underflow changes nothing). */
GRAPHICS_API void PushTransformMatrix(void);
GRAPHICS_API void PopTransformMatrix(void);
/* Multiply the current matrix on the right: the transform called last acts first. */
GRAPHICS_API void TranslationTransform(float x, float y, float z);
GRAPHICS_API void RotationTransform(float angle, float x, float y, float z); /* degrees, axis */
GRAPHICS_API void ScalingTransform(float x, float y, float z);
/* Copies modelview and projection and fills combined = projection x modelview (each room for 16
 * doubles; a NULL one is skipped). */
GRAPHICS_API void GetTransformationMatrices(double *combined, double *modelview,
                                            double *projection);
/* Window pixel of a world point through matrix (normally the combined one), counted from the
 * viewport's bottom-left corner without its offset. Viewport sizes are used odd (640 as 639).
 * A point behind the eye lands at 1.5 times the sizes, outside; results beyond the int range
 * saturate, an undefined one gives INT_MIN. */
GRAPHICS_API void World2Screen(const double *matrix, float x, float y, float z, int *screenX,
                               int *screenY);
/* World point of a window pixel (bottom-left origin, through the current viewport) at depth 0
 * (near plane) to 1 (far plane). Returns 1, or 0 when the matrices cannot be inverted or a
 * pointer is NULL; the outputs are then left unchanged. */
GRAPHICS_API int Screen2World(const double *modelview, const double *projection, int screenX,
                              int screenY, double depth, double *worldX, double *worldY,
                              double *worldZ);
/* Rotates the vector in place by Rz(a) * Rx(b) * Ry(c), degrees: first about y by c, then about
 * x by b, then about z by a. Single precision; touches no drawing state. */
GRAPHICS_API void EulerTransform(float *x, float *y, float *z, float a, float b, float c);

/* ---- Primitives ----------------------------------------------------------------------------- */

/* Coordinates in the current range or camera, z = 0 for the 2D shapes; angles in degrees,
 * counter-clockwise with y up. Circle, ellipse, rectangle, rounded rectangle and triangle are
 * filled after SetFilledMode and outlined otherwise (the start). */

GRAPHICS_API void DrawPoint(float x, float y);
GRAPHICS_API void DrawLine(float x1, float y1, float x2, float y2);
/* Centre (x, y). Filled: a fan of the centre and segments + 1 rim vertices; outline: a loop of
 * segments vertices. 0 or fewer segments draw nothing visible; more than 65536 draw as 65536. */
GRAPHICS_API void DrawCircle(float x, float y, float radius, int segments);
GRAPHICS_API void DrawEllipse(float x, float y, float radiusX, float radiusY, int segments);
/* Corner (x, y) spanning to (x + width, y + height); the outline starts at (x, y). */
GRAPHICS_API void DrawRectangle(float x, float y, float width, float height);
/* As DrawRectangle with corners of the given radius, tessellated every 10 degrees whatever the
 * size; a radius above half the width or height folds the shape. */
GRAPHICS_API void DrawRoundRectangle(float x, float y, float width, float height, float radius);
GRAPHICS_API void DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
/* Line strip around the centre from startAngle in steps, stopping at the last step not past
 * endAngle; a start not below the end wraps through 360 (an end of 0 means 360). A step that is
 * not above 0 draws nothing; one below 360/65536 counts as 360/65536. Each pass (from startAngle,
 * then from 0 after a wrap) stops after 65537 vertices, a full turn at that finest step. */
GRAPHICS_API void DrawArc(float x, float y, float startAngle, float endAngle, float radius,
                          float step);
/* Opens a free primitive: 1 lines, 2 line strip, 3 line loop, 4 polygon, 5 quads, 6 quad strip,
 * 7 triangles, 8 triangle strip, 9 triangle fan, anything else points. Not OpenGL's numbers. */
GRAPHICS_API void StartPrimitives(int type);
GRAPHICS_API void EndPrimitives(void);
GRAPHICS_API void Vertex2D(float x, float y);
GRAPHICS_API void Vertex3D(float x, float y, float z);
/* Texture coordinate and normal for the vertices that follow. */
GRAPHICS_API void TextureCoord(float s, float t);
GRAPHICS_API void Normal(float nx, float ny, float nz);

/* ---- Textures and images -------------------------------------------------------------------- */

/* Handles index two tables of 8192 entries: loaders take the lowest free slot and return -1 when
 * the table is full. A failed load still returns a handle: its image draws nothing, its texture
 * has no picture, so a textured rectangle of it is drawn plain in the current colour; standard
 * error gets one line, "cannot load picture PATH: REASON" (a line is not repeated). A path that
 * names no regular file (a FIFO, a folder) fails at once like a missing one. Pictures are at most
 * 16384 pixels on a side (SGI: 16384 x 16384 pixels in all); a larger one, a file shorter than
 * its header's size needs, or one whose size cannot be read fails at once, before decoding. PNG
 * files of every bit depth and colour type load; 1-bit and compressed BMP files do not. A file is
 * read only up to the size it had when the load opened it. Loading one path again while 19
 * handles from it are still in use (a load inside the frame loop) writes a warning, once per
 * path; the same holds for images and vector fonts. Handles outside 0 to 8191 are ignored.
 * Texturing itself is switched by EnableTexturing. A texture loaded without a window (before
 * InitGraph, after it closed) names texture 0 for good and draws like a failed load; images load
 * all the same. */

/* Loads a picture file into a texture, left bound to GL_TEXTURE_2D. An extension (the text after
 * the path's last dot) of exactly rgb, RGB, rgba or RGBA reads an SGI file, mipmapped, t = 0 at
 * its bottom row; a missing or malformed one gives texture name 0. Other files are decoded as RGB
 * (JPEG, PNG, BMP, TGA, PSD, HDR, DDS), one level with linear filters, t = 0 at the top row: in a
 * y-up range DrawTexturedRectangle shows them upside down unless given y + height and -height.
 * Their alpha is dropped and a texture cannot be keyed: for a keyed or upright picture use
 * _LoadImage, SetImageColorKey and CreateTextureFromImage. */
GRAPHICS_API int LoadTexture(const char *path);
/* A texture of the image's RGBA pixels as they are now (later keying leaves it alone), t = 0 at
 * the bottom row; left bound. -1 when the image handle is outside the table. */
GRAPHICS_API int CreateTextureFromImage(int image);
/* Deletes the texture and frees its slot for the next load. */
GRAPHICS_API void DeleteTexture(int texture);
/* Binds the texture to GL_TEXTURE_2D. */
GRAPHICS_API void SetTexture(int texture);
/* Binds the texture and draws one quad (x, y), (x + width, y), (x + width, y + height),
 * (x, y + height) with texture coordinates (0, 0), (1, 0), (1, 1), (0, 1); outline mode draws its
 * edges. The current colour tints the texels (white leaves them unchanged). */
GRAPHICS_API void DrawTexturedRectangle(int texture, float x, float y, float width, float height);
/* Loads a picture file (as LoadTexture's decoded formats) into memory as RGB with opaque alpha,
 * bottom row first. A file that cannot be decoded gives an empty image that draws nothing. */
GRAPHICS_API int _LoadImage(const char *path);
/* Frees the image's pixels and its slot; the handle draws nothing until a load reuses it. */
GRAPHICS_API void DeleteImage(int image);
/* Makes exactly the pixels of colour (red, green, blue) transparent and every other pixel opaque,
 * replacing an earlier key; only the low 8 bits of each value count (256 keys as 0). */
GRAPHICS_API void SetImageColorKey(int image, int red, int green, int blue);
/* Draws the image upright with its bottom-left pixel at the raster position (x, y), which goes
 * through the current matrices, zoomed by glPixelZoom(zoomX, zoomY), which stays set. Keyed
 * pixels are dropped while the alpha test or blending is on. Nothing at all is drawn while (x, y)
 * falls outside the view, not even the part of the image inside it. */
GRAPHICS_API void DrawImage(int image, float x, float y, float zoomX, float zoomY);

/* ---- Bitmap text ---------------------------------------------------------------------------- */

/* Draws printable ASCII (32 to 126) in an 8 x 13 font from the point (x, y), which goes through
 * the current matrices; the baseline is there and descenders hang 2 pixels below. Each glyph
 * advances 10 window pixels; other bytes draw nothing and do not move. No line breaks. Nothing at
 * all is drawn while (x, y) falls outside the view, not even the part of the text inside it. */
GRAPHICS_API void PrintAt(float x, float y, const char *text);

/* ---- Vector fonts --------------------------------------------------------------------------- */

/* Text in fonts loaded from files (anything FreeType reads), UTF-8; only the codes 0 to 255 have
 * glyphs, others draw nothing and do not move the pen. Text starts at (0, 0) of the current
 * modelview matrix, on the first line's baseline, with one pixel per unit at the font's size, and
 * takes the current colour. Each line feed goes down by the font's line distance (y up), so
 * several lines grow downwards; a carriage return goes back to x 0, a tab moves the pen to
 * (x mod 4 + 4) times the advance of glyph 0. Handles index a table of 1024 fonts; handles
 * outside it draw nothing and measure like an empty string. */

/* Renders the font's glyphs at size points (one point is one pixel; 0 renders nothing) and
 * returns the lowest free handle, -1 when the table is full. A missing file, or one that is not a
 * regular file, is reported on standard error and still takes a handle, whose text draws
 * nothing. The file is read up to the size it had when it was opened; a 20th live handle from one
 * path warns once, as for pictures. */
GRAPHICS_API int LoadVectorFont(const char *path, int size);
/* Draws the text as blended, textured triangles (outline mode shows their edges); leaves the
 * blend function at source alpha / one minus source alpha and the depth mask on. Draws nothing
 * without a window; a font loaded before InitGraph draws once the window is up. */
GRAPHICS_API void DrawVectorFont(int font, const char *text);
/* Releases the font; its handle is free for the next load. */
GRAPHICS_API void DeleteVectorFont(int font);
/* Width and height of the box around the text's glyph cells (a few units of margin on each
 * side), in units; negative infinity when the text has no glyph (empty, only line breaks and
 * tabs, or a font that failed to load). The box starts near the starting point's x and reaches
 * about the height of "H" above its baseline and, for several lines, down below the last line;
 * the line distance is the height of "H\nH" less that of "H". */
GRAPHICS_API float GetVectorFontStringWidth(int font, const char *text);
GRAPHICS_API float GetVectorFontStringHeight(int font, const char *text);

#ifdef __cplusplus
}
#endif

#endif /* GRAPHICS_H */
