// Texture loading: images decoded, made true colour, packed into rows of blue, green, red and
// uploaded with gluBuild2DMipmaps.
#include "view/texture_loading.h"

#include "view/gl_context.h"
#include "view/image_loading.h"
#include "view/view_settings.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <memory>
#include <vector>

#ifndef GL_BGR
#define GL_BGR 0x80E0
#endif

UINT g_textureIds[HX_TEXTURE_COUNT] = {};
BYTE g_textureBuiltIn[HX_DOCUMENT_TEXTURES] = {};
int g_textureWidth[HX_DOCUMENT_TEXTURES] = {};
int g_textureHeight[HX_DOCUMENT_TEXTURES] = {};
BYTE* g_documentImages[HX_DOCUMENT_TEXTURES] = {};

namespace {
// A document texture filled without a context, waiting for the view's.
struct PendingUpload {
    std::unique_ptr<BYTE[]> ownPixels; // built-in images keep no pixels in the slot
    bool waiting = false;
};
PendingUpload g_pending[HX_DOCUMENT_TEXTURES];

enum class LoadFailure { None, Open, TrueColour, Format };

// Decodes, makes true colour and packs a file; the failure and its code and text when it fails.
LoadFailure LoadPacked(const CString& path, std::unique_ptr<BYTE[]>& pixels, int& width, int& height,
                       DWORD& code, CString& text) {
    QImage image;
    if (!HxLoadImageFile(path, image, code, text))
        return LoadFailure::Open;
    if (!MakeTrueColourImage(image))
        return LoadFailure::TrueColour;
    if (image.width() <= 0 || image.height() <= 0)
        return LoadFailure::Format;
    pixels.reset(HxPackImagePixels(image));
    if (!pixels)
        return LoadFailure::Format;
    width = image.width();
    height = image.height();
    return LoadFailure::None;
}
} // namespace

void HxUploadPackedTexture(UINT name, const BYTE* pixels, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, name);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    glPopClientAttrib();
}

BOOL LoadTextureImage(int index, const CString& path, bool builtIn) {
    if (index < 0 || index >= HX_DOCUMENT_TEXTURES)
        return FALSE;
    std::unique_ptr<BYTE[]> pixels;
    int width = 0, height = 0;
    DWORD code = 0;
    CString text;
    switch (LoadPacked(path, pixels, width, height, code, text)) {
    case LoadFailure::Open:
        AfxMessageBox(HxFormat(u"装入图象失败:\n%x - %s", code, text), MB_OK);
        return FALSE;
    case LoadFailure::TrueColour:
        AfxMessageBox(u"装入图象失败，请使用真彩色图！", MB_OK);
        return FALSE;
    case LoadFailure::Format:
        AfxMessageBox(u"装入图象失败，请使用24位或32位真彩图象！", MB_OK);
        return FALSE;
    case LoadFailure::None:
        break;
    }

    g_textureBuiltIn[index] = builtIn ? 1 : 0;
    g_textureWidth[index] = width;
    g_textureHeight[index] = height;
    delete[] g_documentImages[index];
    g_documentImages[index] = nullptr;
    PendingUpload& pending = g_pending[index];
    pending.ownPixels.reset();
    pending.waiting = false;

    const BYTE* data = pixels.get();
    if (!builtIn)
        g_documentImages[index] = pixels.release();
    if (HxMakeGlCurrent() && g_textureIds[index] != 0) {
        HxUploadPackedTexture(g_textureIds[index], data, width, height);
    } else {
        pending.waiting = true;
        if (builtIn)
            pending.ownPixels = std::move(pixels);
    }
    return TRUE;
}

void HxSetDocumentTexturePixels(int index, BYTE* pixels, int width, int height) {
    if (index < 0 || index >= HX_DOCUMENT_TEXTURES) {
        delete[] pixels;
        return;
    }
    g_textureBuiltIn[index] = 0;
    g_textureWidth[index] = width;
    g_textureHeight[index] = height;
    delete[] g_documentImages[index];
    g_documentImages[index] = pixels;
    PendingUpload& pending = g_pending[index];
    pending.ownPixels.reset();
    pending.waiting = false;
    if (HxMakeGlCurrent() && g_textureIds[index] != 0)
        HxUploadPackedTexture(g_textureIds[index], pixels, width, height);
    else
        pending.waiting = true;
}

void HxRestoreBuiltInTexture(int index) {
    if (index < 0 || index >= HX_DOCUMENT_TEXTURES || !g_documentImages[index])
        return;
    if (!LoadTextureImage(index, HxInstallImagePath(index + 1), true)) {
        // The image files are missing (reported): the user's image goes all the same.
        delete[] g_documentImages[index];
        g_documentImages[index] = nullptr;
        g_textureBuiltIn[index] = 1;
    }
}

bool HxLoadPackedImage(const CString& path, std::unique_ptr<BYTE[]>& pixels, int& width, int& height) {
    DWORD code = 0;
    CString text;
    return LoadPacked(path, pixels, width, height, code, text) == LoadFailure::None;
}

bool LoadTextureFromImage(const CString& path, UINT name) {
    std::unique_ptr<BYTE[]> pixels;
    int width = 0, height = 0;
    if (!HxLoadPackedImage(path, pixels, width, height))
        return false;
    if (!HxMakeGlCurrent())
        return false;
    HxUploadPackedTexture(name, pixels.get(), width, height);
    return true;
}

void HxUploadPendingTextures() {
    bool any = std::any_of(std::begin(g_pending), std::end(g_pending), [](auto& p) { return p.waiting; });
    if (!any || !HxMakeGlCurrent())
        return;
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        PendingUpload& pending = g_pending[i];
        if (!pending.waiting || g_textureIds[i] == 0)
            continue;
        const BYTE* data = pending.ownPixels ? pending.ownPixels.get() : g_documentImages[i];
        if (data)
            HxUploadPackedTexture(g_textureIds[i], data, g_textureWidth[i], g_textureHeight[i]);
        pending.ownPixels.reset();
        pending.waiting = false;
    }
}

bool HxCreateViewTextures() {
    if (!HxMakeGlCurrent())
        return false;
    glGenTextures(HX_TEXTURE_COUNT, g_textureIds);
    for (UINT name : g_textureIds) {
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    // The images of a document read before the view existed are the document's: they stay, to be
    // uploaded with the installation images.  Nothing else waits any more.
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        if (!g_documentImages[i]) {
            g_textureBuiltIn[i] = 0;
            g_textureWidth[i] = 0;
            g_textureHeight[i] = 0;
        }
        g_pending[i].ownPixels.reset();
        g_pending[i].waiting = false;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    return true;
}

bool LoadInstallationTextures() {
    for (int slot = HX_DOCUMENT_TEXTURES - 1; slot >= 0; --slot) {
        // A document read before the view made its textures keeps its own images.
        if (g_documentImages[slot]) {
            if (HxMakeGlCurrent() && g_textureIds[slot] != 0)
                HxUploadPackedTexture(g_textureIds[slot], g_documentImages[slot], g_textureWidth[slot],
                                      g_textureHeight[slot]);
            continue;
        }
        if (!LoadTextureImage(slot, HxInstallImagePath(slot + 1), true))
            return false;
    }
    for (int n = HX_DOCUMENT_TEXTURES + 1; n <= HX_TEXTURE_COUNT; ++n)
        if (!LoadTextureFromImage(HxInstallImagePath(n), g_textureIds[n - 1]))
            return false;
    return true;
}

void HxReleaseViewTextures() {
    if (g_textureIds[0] != 0 && HxMakeGlCurrent())
        glDeleteTextures(HX_TEXTURE_COUNT, g_textureIds);
    std::fill(std::begin(g_textureIds), std::end(g_textureIds), 0u);
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        delete[] g_documentImages[i];
        g_documentImages[i] = nullptr;
        g_textureBuiltIn[i] = 0;
        g_textureWidth[i] = 0;
        g_textureHeight[i] = 0;
        g_pending[i].ownPixels.reset();
        g_pending[i].waiting = false;
    }
}
