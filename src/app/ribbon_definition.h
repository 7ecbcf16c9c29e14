// Reading the ribbon definition: a small XML file of our own (compiled in as the resource
// ":/halvix/ribbon.xml") that lists the image table, the application menu, the categories with
// their panels and elements, and the status bar.  One element is one line, for example
//     <button id="33610" name="ID_CREATE_POINT" text="点" icon="point" size="large"/>
#pragma once

#include "app/ribbon_elements.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <vector>

struct HxRibbonDefinition {
    struct Panel {
        CString name;
        QString icon;
        std::vector<std::unique_ptr<HxRibbonBaseElement>> elements;
    };
    struct Category {
        CString name;
        std::vector<Panel> panels;
    };
    struct StatusElement {
        std::unique_ptr<HxRibbonBaseElement> element;
        bool extended = false;
    };

    // Image number -> icon name (the numbers that SetImageIndex and the definition use).
    std::map<int, QString> images;
    // The application button: its text, icon and menu (its sub-items).
    std::unique_ptr<HxRibbonButton> application;
    std::vector<Category> categories;
    std::vector<StatusElement> statusBar;
};

// Parses a definition; on failure returns false and says what and where in *error.
bool HxParseRibbonDefinition(const QByteArray& xml, HxRibbonDefinition& out, QString* error = nullptr);
// Reads and parses a file or resource path.
bool HxLoadRibbonDefinition(const QString& path, HxRibbonDefinition& out, QString* error = nullptr);

// The definition compiled into the program.
inline constexpr const char* HX_RIBBON_RESOURCE = ":/halvix/ribbon.xml";
