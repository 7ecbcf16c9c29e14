// Start values of the settings the view reads, and the installation folder.
#include "view/view_settings.h"

#include <QCoreApplication>
#include <QDir>

CString g_labelFontName = u"Times New Roman";
int g_labelFontHeight = 24;
CString g_textFontName = u"Times New Roman";
int g_fontHeight = 24;
int g_labelsFollowZoom = 0;
int g_trackballMode = 0;
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

void HxResetViewSettings() {
    g_labelFontName = u"Times New Roman";
    g_labelFontHeight = 24;
    g_textFontName = u"Times New Roman";
    g_fontHeight = 24;
    g_labelsFollowZoom = 0;
    g_trackballMode = 0;
}
