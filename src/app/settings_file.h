// The per-user settings file "config601.dat": the preference fonts and sizes, default line width
// and point size, background and object colours, the light, the animation frame rate and three
// switches, kept in the XDG data folder under "Halvix" as an archive without header or version.
#pragma once

#include "platform/afx.h"

#include <QString>

// The folder (".../Halvix", not created here) and the file's full path.
QString HxSettingsFolder();
QString HxSettingsFilePath();

// The eleven fields in file order.  Storing never fails; loading reads every field before it
// changes anything, so a file cut short or holding a malformed string throws CArchiveException and
// leaves every setting as it was.  Values that fonts, OpenGL or the timer cannot use are brought
// into the ranges the preferences allow (frame rate 1 to 100, font heights 8 to 500 pixels, line
// width 0.5 to 5, point size 0.5 to 10); a value that is not a number keeps the present one.
void HxStoreSettings(CArchive& ar);
void HxLoadSettings(CArchive& ar);

// The preference variables back to their built-in values.
void HxResetPreferenceSettings();

// LoadSaveSettings (declared with the document's services): store false reads the file into the
// preference variables, true writes them.  TRUE when the file was read or written; FALSE when the
// folder cannot be made, the file cannot be opened, or (reading) the file is damaged, in which
// case nothing changed.
