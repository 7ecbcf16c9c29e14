// Services of the view and of the application shell that the document and the page code use and
// that their owners do not provide yet: the trace picture flag and the per-user settings file.  The
// stand-in for the settings file is weak, so that the shell's definition replaces it.
#pragma once

#include "platform/afx.h"

// The view keeps its picture of the traces drawn so far while this is 0; edits that discard the
// traces set it to 1.
extern int g_traceImageStale;

// The per-user settings file (fonts, sizes, colours, light): flag 0 reads it, 1 writes it.  Until
// the shell provides the file, reading gives the built-in defaults and writing keeps nothing.
void LoadSaveSettings(int store);
