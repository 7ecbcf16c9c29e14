// The file dialogs of the program: how a CFileDialog's file types read in a Qt file dialog, and the
// folder a dialog starts in.
#pragma once

#include "platform/afx.h"

#include <QString>
#include <QStringList>

// The file types of a dialog as Qt name filters: "3D图形文档" with "*.hvx;*.gf" reads
// "3D图形文档 (*.hvx *.gf)"; a description that already ends with its patterns,
// "Halvix文档(*.hvx)", is kept as it is.
QStringList HxFileDialogFilters(const CFileDialog& dlg);
// Where a dialog without a folder of its own starts: the folder of the document last opened or
// saved, else the folder last chosen in a file dialog of this run, else the user's documents
// folder (the home folder when there is none).
QString HxFileDialogStartFolder();
// Forgets the folder last chosen (a new run).
void HxResetFileDialogFolder();
