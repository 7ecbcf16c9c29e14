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
// folder (the home folder when there is none).  For saving, a folder that cannot be written (the
// samples' folder, say) is passed over.
QString HxFileDialogStartFolder(bool forSaving = false);
// Where a dialog starts and the name it suggests (empty for none): a suggested path in a folder a
// save cannot write is suggested by its name alone, in the start folder.
struct HxFileDialogStart {
    QString folder;
    QString selected;
};
HxFileDialogStart HxFileDialogStartOf(const CFileDialog& dlg);
// The program's touches to a Qt file dialog: the file list's dates, sizes and folder type in the
// Chinese locale, and room for them.
class QFileDialog;
void HxDressFileDialog(QFileDialog& box);
// Forgets the folder last chosen (a new run).
void HxResetFileDialogFolder();
