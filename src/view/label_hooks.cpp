// The registered label renderers of the view.
#include "view/label_hooks.h"

namespace {
HxLabelGlyphListsFn s_glyphLists = nullptr;
HxTexturedLabelFn s_texturedLabel = nullptr;
} // namespace

void HxSetLabelRenderers(HxLabelGlyphListsFn glyphLists, HxTexturedLabelFn texturedLabel) {
    s_glyphLists = glyphLists;
    s_texturedLabel = texturedLabel;
}

bool HxHasLabelGlyphLists() {
    return s_glyphLists != nullptr;
}

CString HxLabelGlyphLists(const CString& text) {
    return s_glyphLists ? s_glyphLists(text) : CString();
}

void HxDrawTexturedLabel(const CString& text, float x, float y, float z) {
    if (s_texturedLabel)
        s_texturedLabel(text, x, y, z);
}
