// Process-wide state that travels in the document file: the preference fonts, the light, the three
// document textures and their use counts, the ".gf" image flag of formula texts, and the paths and
// user name the document keeps.
#pragma once

#include "platform/afx.h"

#include <functional>
#include <vector>

// Fonts of point and object labels, and of measurements and texts; heights in pixels.
extern CString g_labelFontName;   // "Times New Roman"
extern int g_labelFontHeight;     // 24
extern CString g_measureFontName; // "Times New Roman"
extern int g_measureFontHeight;   // 24

// OpenGL light 0.
extern float g_lightAmbient[4];  // 0.2, 0.2, 0.2, 1
extern float g_lightDiffuse[4];  // 0.8, 0.8, 0.8, 1
extern float g_lightSpecular[4]; // 1, 1, 1, 1
extern float g_lightPosition[4]; // 200, 100, 300, 1

// Formula text items store (and read) their rendered pictures while this is non-zero: the
// document's flag, set only while its pages are stored or loaded.
extern int g_storeMtfImages;

// The three document textures (numbers 1 to 3 of the cells): whether texture i still holds its
// default installation image, and otherwise its size and pixels (rows of blue, green, red, each
// row padded to 4 bytes).
constexpr int HX_DOC_TEXTURES = 3;
extern bool g_textureIsDefault[HX_DOC_TEXTURES];
extern int g_textureWidth[HX_DOC_TEXTURES];
extern int g_textureHeight[HX_DOC_TEXTURES];
extern std::vector<BYTE> g_texturePixels[HX_DOC_TEXTURES];
// Entries 1 to 3: how many objects use document texture 1, 2 or 3.  Zeroed before the pages are
// stored; the records of textured objects count themselves while they are stored.
extern int g_textureUseCount[HX_DOC_TEXTURES + 1];
// The pixel bytes of a texture of that size: ((3 (w + 1)) div 4) x 4 x h.
long long HxTexturePixelBytes(long long width, long long height);
// Told after a load changed document texture i (0 to 2): back to its default image, or new pixels.
// The view builds its OpenGL texture from the state above; without a view nothing happens.
extern std::function<void(int index)> g_documentTextureChanged;

// The document last opened or stored ("" after a new document), and the user, the author of new
// documents.
extern CString g_lastDocumentPath;
extern CString g_userName;

// The settings above that the per-user settings file also holds (fonts, line width, point size,
// light) back to their built-in values.
void HxResetDocumentSettings();
// Every global above back to its start value.
void HxResetDocumentGlobals();
