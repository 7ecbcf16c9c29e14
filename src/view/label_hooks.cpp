// The registered label renderers of the view.
#include "view/label_hooks.h"

namespace {
HxLabelGlyphListsFn s_glyphLists = nullptr;
HxTexturedLabelFn s_texturedLabel = nullptr;
HxLabelBatchFn s_batch = nullptr;
} // namespace

void HxSetLabelRenderers(HxLabelGlyphListsFn glyphLists, HxTexturedLabelFn texturedLabel,
                         HxLabelBatchFn batch) {
    s_glyphLists = glyphLists;
    s_texturedLabel = texturedLabel;
    s_batch = batch;
}

bool HxHasLabelGlyphLists() {
    return s_glyphLists != nullptr;
}

CString HxLabelGlyphLists(const CString& text) {
    return s_glyphLists ? s_glyphLists(text) : CString();
}

void HxDrawTexturedLabel(const CString& text, float x, float y, float z, const float* rgba) {
    if (s_texturedLabel)
        s_texturedLabel(text, x, y, z, rgba);
}

CLabelBatchScope::CLabelBatchScope() {
    if (s_batch)
        s_batch(true);
}

CLabelBatchScope::~CLabelBatchScope() {
    if (s_batch)
        s_batch(false);
}
