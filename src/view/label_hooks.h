// The seam through which cells draw their name labels: the view's label glyph cache and its
// textured label font register here once their OpenGL resources exist.  Until then, and in a
// process without a view, labels are simply not drawn.
#pragma once

#include "platform/cstring.h"

// The display-list id of each character of a label, as one UTF-16 string (drawn with
// glCallLists of GL_UNSIGNED_SHORT at the current raster position).
using HxLabelGlyphListsFn = CString (*)(const CString& text);
// Draws a label as textured glyph quads facing the viewer at a world point, in the colour rgba.
using HxTexturedLabelFn = void (*)(const CString& text, float x, float y, float z, const float* rgba);
// Opens (true) or closes (false) a batch of textured labels.
using HxLabelBatchFn = void (*)(bool begin);

void HxSetLabelRenderers(HxLabelGlyphListsFn glyphLists, HxTexturedLabelFn texturedLabel,
                         HxLabelBatchFn batch = nullptr);

bool HxHasLabelGlyphLists();
// Empty when no glyph cache is registered.
CString HxLabelGlyphLists(const CString& text);
// Does nothing when no textured font is registered.
void HxDrawTexturedLabel(const CString& text, float x, float y, float z, const float* rgba);

// The textured labels of a render pass wait between these and are drawn together, with one texture
// bind and one call, in the state the pass has when it ends.
class CLabelBatchScope {
public:
    CLabelBatchScope();
    ~CLabelBatchScope();
    CLabelBatchScope(const CLabelBatchScope&) = delete;
    CLabelBatchScope& operator=(const CLabelBatchScope&) = delete;
};
