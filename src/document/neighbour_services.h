// Services of the view and of the application shell that the document and the page code use: the
// trace picture flag and the per-user settings file (app/settings_file.cpp).
#pragma once

#include "platform/afx.h"

// The view keeps its picture of the traces drawn so far while this is 0; edits that discard the
// traces set it to 1.
extern int g_traceImageStale;

// The per-user settings file (fonts, sizes, colours, light, frame rate, switches): store false reads
// it into the preference variables, true writes them.  TRUE when the file was read or written; a
// missing, unreadable or damaged file leaves the variables as they were.
bool LoadSaveSettings(bool store);
