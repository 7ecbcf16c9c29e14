// Image files into mipmapped OpenGL textures: the three document textures (kept with the document
// when they hold a user's image), the view's fixed textures and any other texture name.
#pragma once

#include "platform/afx.h"

#include <memory>

constexpr int HX_TEXTURE_COUNT = 15;
constexpr int HX_DOCUMENT_TEXTURES = 3;

// Texture names made with the view's context; 0 to 2 are the document textures (texture numbers 1 to
// 3 of the cells), 3 to 14 the installation images 4 to 15.
extern UINT g_textureIds[HX_TEXTURE_COUNT];
// Per document texture: 1 when it holds the installation's built-in image (no pixels kept), its size,
// and the kept pixels of a user image (packed: rows bottom-up, blue, green, red, rows padded to
// 4 bytes; a new[] block owned here) or null.
extern BYTE g_textureBuiltIn[HX_DOCUMENT_TEXTURES];
extern int g_textureWidth[HX_DOCUMENT_TEXTURES];
extern int g_textureHeight[HX_DOCUMENT_TEXTURES];
extern BYTE* g_documentImages[HX_DOCUMENT_TEXTURES];

// Loads an image file into document texture `index` (0 to 2).  A failure is reported in a message box
// and leaves the slot as it was.  Without an OpenGL context the slot is filled and its texture is built
// when the view next calls HxUploadPendingTextures.
BOOL LoadTextureImage(int index, const CString& path, bool builtIn);
// Gives document texture `index` (0 to 2) the pixels of a user image read from a document (packed as
// g_documentImages; a new[] block the slot takes over), built now or when the view next uploads.
void HxSetDocumentTexturePixels(int index, BYTE* pixels, int width, int height);
// Gives document texture `index` (0 to 2) its installation image again when it holds a user image
// (loaded again only then).  When the image file cannot be loaded (reported), the user image goes
// all the same.
void HxRestoreBuiltInTexture(int index);
// Loads an image file into the texture `name`; silent, false on any failure (and without a context).
bool LoadTextureFromImage(const CString& path, UINT name);
// Reads an image file into packed pixels (the layout of g_documentImages) for a later
// HxUploadPackedTexture; silent, false on any failure.  Needs no context.
bool HxLoadPackedImage(const CString& path, std::unique_ptr<BYTE[]>& pixels, int& width, int& height);

// Uploads packed pixels (the layout of g_documentImages) into `name` with mipmaps; needs a current
// context.
void HxUploadPackedTexture(UINT name, const BYTE* pixels, int width, int height);
// Builds the document textures loaded while no context could be made current.
void HxUploadPendingTextures();

// The view's textures: names for g_textureIds with linear and linear-mipmap-linear filters and
// repeating wrap, nothing waiting for upload; the kept images of a document read before stay for
// LoadInstallationTextures.  False without a context.
bool HxCreateViewTextures();
// Installation images 3, 2, 1 into the document textures 2, 1, 0 (a document texture that holds a
// user image keeps it), then 4 to 15 into g_textureIds[3] to [14], stopping at the first failure.
// True when all fifteen loaded.
bool LoadInstallationTextures();
// Deletes the view's textures (when the context can be made current) and frees the kept pixels.
void HxReleaseViewTextures();
