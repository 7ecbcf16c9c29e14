// Start values of the settings the view reads, the installation folder, and the light given to
// OpenGL.
#include "view/view_settings.h"

#include "view/gl_context.h"

#include <GL/gl.h>

#include <algorithm>
#include <iterator>

#include <QCoreApplication>
#include <QDir>

CString g_labelFontName = u"Times New Roman";
int g_labelFontHeight = 24;
CString g_textFontName = u"Times New Roman";
int g_fontHeight = 24;
int g_labelAutoScale = 1;
int g_trackballMode = 0;
int g_animationFps = 25;
int g_disableDoubleClick = 0;
CString g_installFolder;

void HxInitInstallFolder() {
    QString dir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    while (dir.size() > 1 && dir.endsWith(u'/'))
        dir.chop(1);
    g_installFolder = CString::FromQString(dir);
}

CString HxInstallImagePath(int n) {
    return g_installFolder + HxFormat(u"/Images/Img%d.jpg", n);
}

namespace {
constexpr float kLightAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float kLightDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kLightSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kLightPosition[4] = {200.0f, 100.0f, 300.0f, 1.0f};
constexpr float kMaterialAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float kMaterialDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kMaterialSpecular[4] = {0.2f, 0.2f, 0.2f, 1.0f};
} // namespace

float g_lightAmbient[4] = {kLightAmbient[0], kLightAmbient[1], kLightAmbient[2], kLightAmbient[3]};
float g_lightDiffuse[4] = {kLightDiffuse[0], kLightDiffuse[1], kLightDiffuse[2], kLightDiffuse[3]};
float g_lightSpecular[4] = {kLightSpecular[0], kLightSpecular[1], kLightSpecular[2], kLightSpecular[3]};
float g_lightPosition[4] = {kLightPosition[0], kLightPosition[1], kLightPosition[2], kLightPosition[3]};
float g_materialAmbient[4] = {kMaterialAmbient[0], kMaterialAmbient[1], kMaterialAmbient[2],
                              kMaterialAmbient[3]};
float g_materialDiffuse[4] = {kMaterialDiffuse[0], kMaterialDiffuse[1], kMaterialDiffuse[2],
                              kMaterialDiffuse[3]};
float g_materialSpecular[4] = {kMaterialSpecular[0], kMaterialSpecular[1], kMaterialSpecular[2],
                               kMaterialSpecular[3]};
float g_materialShininess = 64.0f;

void HxResetViewSettings() {
    std::copy(std::begin(kLightAmbient), std::end(kLightAmbient), g_lightAmbient);
    std::copy(std::begin(kLightDiffuse), std::end(kLightDiffuse), g_lightDiffuse);
    std::copy(std::begin(kLightSpecular), std::end(kLightSpecular), g_lightSpecular);
    std::copy(std::begin(kLightPosition), std::end(kLightPosition), g_lightPosition);
    std::copy(std::begin(kMaterialAmbient), std::end(kMaterialAmbient), g_materialAmbient);
    std::copy(std::begin(kMaterialDiffuse), std::end(kMaterialDiffuse), g_materialDiffuse);
    std::copy(std::begin(kMaterialSpecular), std::end(kMaterialSpecular), g_materialSpecular);
    g_materialShininess = 64.0f;
    g_labelFontName = u"Times New Roman";
    g_labelFontHeight = 24;
    g_textFontName = u"Times New Roman";
    g_fontHeight = 24;
    g_labelAutoScale = 1;
    g_trackballMode = 0;
    g_animationFps = 25;
    g_disableDoubleClick = 0;
}

bool HxApplyLightToGl() {
    if (!HxMakeGlCurrent())
        return false;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_AMBIENT, g_lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, g_lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, g_lightSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, g_lightPosition);
    glPopMatrix();
    return true;
}
