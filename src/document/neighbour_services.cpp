// The trace picture flag, and the stand-in for the settings file (weak, so that the shell's
// definition replaces it when it is linked).
#include "document/neighbour_services.h"

#include "document/doc_globals.h"

int g_traceImageStale = 1;

__attribute__((weak)) void LoadSaveSettings(int store) {
    if (store == 0)
        HxResetDocumentSettings();
}
