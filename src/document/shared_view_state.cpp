// Globals that the document file carries but that the view reads too (the label font and the
// sizes of the document textures).  They live here until the view's own settings define them; the
// declarations are in doc_globals.h.
#include "document/doc_globals.h"

CString g_labelFontName(u"Times New Roman");
int g_labelFontHeight = 24;
int g_textureWidth[HX_DOC_TEXTURES] = {0, 0, 0};
int g_textureHeight[HX_DOC_TEXTURES] = {0, 0, 0};
