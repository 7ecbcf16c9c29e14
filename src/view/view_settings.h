// Application settings the view reads: the preference fonts of labels and texts, how labels follow
// the zoom, trackball rotation, and the installation folder with its images.  The preferences dialog
// and the configuration file set them; these are their start values.
#pragma once

#include "platform/afx.h"

extern CString g_labelFontName;  // "Times New Roman"
extern int g_labelFontHeight;    // 24 pixels
extern CString g_textFontName;   // "Times New Roman": measurements and plain texts
extern int g_fontHeight;         // 24 pixels
extern int g_labelAutoScale;     // 1: textured labels keep their size on screen when zooming
extern int g_trackballMode;      // 0: left drags turn the view about the screen axes (trackball) when set
extern int g_animationFps;       // 25: ticks per second of the animation timer
extern int g_disableDoubleClick; // 0: a double click on an object opens its properties unless set

// OpenGL light 0 (position in eye coordinates, w = 1) and the current material of lit solids
// (red, green, blue, alpha; the shininess from 0 to 128).
extern float g_lightAmbient[4];     // 0.2, 0.2, 0.2, 1
extern float g_lightDiffuse[4];     // 0.8, 0.8, 0.8, 1
extern float g_lightSpecular[4];    // 1, 1, 1, 1
extern float g_lightPosition[4];    // 200, 100, 300, 1
extern float g_materialAmbient[4];  // 0.2, 0.2, 0.2, 1
extern float g_materialDiffuse[4];  // 0.8, 0.8, 0.8, 1
extern float g_materialSpecular[4]; // 0.2, 0.2, 0.2, 1
extern float g_materialShininess;   // 64

// Sets OpenGL light 0 from g_lightAmbient ... g_lightPosition (the position in eye coordinates),
// with the view's context current; false without one.
bool HxApplyLightToGl();

// The folder of the executable, without a trailing separator; it holds "Images", "Samples", "Tools".
extern CString g_installFolder;
// Sets g_installFolder from the running program's location (QCoreApplication must exist).
void HxInitInstallFolder();
// g_installFolder + "/Images/Img<n>.jpg", the installation image n (1 to 15).
CString HxInstallImagePath(int n);

// Every setting above back to its start value (the installation folder is kept).
void HxResetViewSettings();
