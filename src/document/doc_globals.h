// Process-wide state that travels in the document file and belongs to the document: the ".gf" image
// flag of formula texts, and the paths and user name the document keeps.  The fonts and the light
// (view/view_settings.h), the document textures (view/texture_loading.h) and their use counts
// (model/model_globals.h) belong to the view and the model.
#pragma once

#include "platform/afx.h"

// Formula text items store (and read) their rendered pictures while this is non-zero: the
// document's flag, set only while its pages are stored or loaded.
extern int g_storeMtfImages;

// The pixel bytes of a document texture of that size as the file keeps them: rows of blue, green,
// red, each padded to 4 bytes: ((3 (w + 1)) div 4) x 4 x h.
long long HxTexturePixelBytes(long long width, long long height);

// The document last opened or stored ("" after a new document), and the user, the author of new
// documents.
extern CString g_lastDocumentPath;
extern CString g_userName;

// The two view states the view buttons are made from (F8 and F9): translation x, y, z, the rotation
// quaternion w, x, y, z, the zoom.  Both start as the view of a new page.
enum { kMarkTransX = 0, kMarkTransY, kMarkTransZ, kMarkRotW, kMarkRotX, kMarkRotY, kMarkRotZ, kMarkZoom,
       kViewMarkSize };
extern float g_viewMarkStart[kViewMarkSize];
extern float g_viewMarkTarget[kViewMarkSize];

// The settings the per-user settings file also holds (fonts, line width, point size, light) back to
// their built-in values.
void HxResetDocumentSettings();
// Every global above back to its start value, and the document textures emptied.
void HxResetDocumentGlobals();
