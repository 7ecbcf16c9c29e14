// Not a test: the property, picture and label dialogs and the preferences (once with each preset) drawn into
// pictures, for looking at them.  Usage: halvix_property_dialogs_demo FOLDER; the pictures land in FOLDER.
#include "app/label_dialog_ui.h"
#include "app/preferences_ui.h"
#include "app/property_dialogs_ui.h"
#include "app/settings_file.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace {

void Save(QWidget& window, const QString& folder, const char* name) {
    window.adjustSize();
    window.show();
    QApplication::processEvents();
    window.grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
    window.hide();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    CDlgPropertyPoint point;
    point.m_description = u"全自由点";
    point.m_label = u"A";
    point.m_x = 1.5f;
    point.m_y = -2.0f;
    point.m_z = 4.0f;
    point.m_size = 6.0f;
    point.m_coordinateMode = CDlgPropertyPoint::kCoordinatesXyz;
    CPropertyPointWindow pointWindow(point);
    Save(pointWindow, folder, "point");

    CDlgPropertyLine line;
    line.m_description = u"点A、B 确定的线段";
    line.m_label = u"AB";
    line.m_width = 2.0f;
    CPropertyLineWindow lineWindow(line);
    Save(lineWindow, folder, "line");

    CDlgPropertyFace face;
    face.m_description = u"点A、B、C确定的面";
    face.m_label = u"ABC";
    face.m_style = 3;
    face.m_texture = 2;
    CPropertyFaceWindow faceWindow(face);
    Save(faceWindow, folder, "face");

    CDlgPropertyCircle circle;
    circle.m_description = u"过点A、B、C的圆";
    circle.m_label = u"c1";
    circle.m_kind = 3;
    circle.m_style = 1;
    circle.m_arcMode = 1;
    circle.m_to = 120.0f;
    circle.m_width = 2.0f;
    CPropertyCircleWindow circleWindow(circle);
    Save(circleWindow, folder, "circle");

    CDlgPropertySolid solid;
    solid.m_description = u"以（0.0000，0.0000，0.0000）为球心，半径为5.0000.的球";
    solid.m_style = 2;
    CPropertySolidWindow solidWindow(solid);
    Save(solidWindow, folder, "solid");

    CDlgTrace trace;
    CTraceWindow traceWindow(trace);
    Save(traceWindow, folder, "trace");

    CDlgProScaleLine axes;
    axes.m_autoSpacing = FALSE;
    CProScaleLineWindow axesWindow(axes);
    Save(axesWindow, folder, "axes");

    CDlgPageProperty page;
    page.m_title = u"第一页";
    CPagePropertyWindow pageWindow(page);
    Save(pageWindow, folder, "page");

    CDlgImagePropy picture;
    picture.m_scaleX = 1.5f;
    picture.m_scaleY = -0.5f;
    picture.m_size = u"原始大小：宽*高=320*240";
    CImagePropyWindow pictureWindow(picture);
    Save(pictureWindow, folder, "picture");

    CDlgPropertyLabel label;
    label.m_label = u"A₁";
    label.m_color = RGB(0, 0, 160);
    CPropertyLabelWindow labelWindow(label);
    Save(labelWindow, folder, "label");

    HxResetPreferenceSettings();
    const char* presets[CDlgPreferonces::kPresetCount] = {"preferences-whiteboard", "preferences-black",
                                                          "preferences-print", "preferences-web"};
    for (int i = 0; i < CDlgPreferonces::kPresetCount; ++i) {
        CDlgPreferonces preferences;
        preferences.OnInitDialog();
        CPreferencesWindow window(preferences, nullptr);
        window.OnPreset(i);
        Save(window, folder, presets[i]);
    }
    return 0;
}
