// The per-user settings file "config601.dat": the preference fonts and sizes, default line width
// and point size, background and object colours, the light, the animation frame rate and three
// switches, kept in the XDG data folder under "Halvix" as an archive without header or version.
#pragma once

#include "platform/afx.h"

#include <QString>

// The folder (".../Halvix", not created here) and the file's full path.
QString HxSettingsFolder();
QString HxSettingsFilePath();

// The eleven fields in file order.  Storing never fails.  Loading takes every value the file holds
// whole, in file order, and stops where the file ends or a string is longer than what is left; the
// values after that point take their built-in values.  Values that fonts, OpenGL or the timer cannot
// use are brought into the ranges the preferences allow (frame rate 1 to 100, font heights 8 to 500
// pixels, line width 0.5 to 5, point size 0.5 to 10); a value that is not a number keeps the present
// one.  Returns how many values were read (66 for a whole file: two names, four sizes, the 56 values
// of the colour block, four switches).
void HxStoreSettings(CArchive& ar);
int HxLoadSettings(CArchive& ar);
constexpr int kSettingsValueCount = 66;

// The preference variables back to their built-in values.
void HxResetPreferenceSettings();

// LoadSaveSettings (declared with the document's services): store false reads the file into the
// preference variables, true writes them.  TRUE when the file was read (a file cut short too) or
// written; FALSE when the folder cannot be made or the file cannot be opened (or is larger than any
// settings file), in which case nothing changed.
