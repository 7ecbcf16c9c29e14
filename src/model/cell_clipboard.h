// The clipboard format of cells, "CF_GRAPH": its registered id.  A page writes and reads the blocks
// (CGPage::WriteClipboardBlock, CopySelection, PasteFromClipboard).
#pragma once

#include "platform/afx.h"

// The id of "CF_GRAPH"; 0 until it is registered.
extern UINT g_cfGraph;

// Registers "CF_GRAPH" and keeps its id in g_cfGraph (the program does it once at start-up; doing it
// again gives the same id).
void RegisterCellClipboardFormat();
// g_cfGraph, registered first when that has not been done yet.
UINT HxCellClipboardFormat();
