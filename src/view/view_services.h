// What the view's commands ask of other parts of the program: building from the selection, the
// preferences dialog, the colour formula text and the custom tool's matching.  Each owner installs its
// service when it exists; a command whose service is missing does nothing more (and its update handler
// disables it where the command has no other effect).  Tests install recorders.
#pragma once

#include "platform/afx.h"

#include <functional>

class CGCell;
class CGPage;
class CHalvixDoc;

struct HxViewServices {
    // Builds from the current page's selection what the tool button of `kind` calls for (1 point,
    // 2 line, 3 face, 4 circle, 12 action buttons) as one undo step; non-zero when it built
    // something or ran a command, 0 when nothing fitted the selection.
    std::function<int(CHalvixDoc& doc, int kind)> constructFromSelection;
    // The preferences dialog with its values applied: 0 cancelled, 1 accepted, 2 accepted with
    // other fonts.
    std::function<int()> runPreferences;
    // Inserts a colour formula text at a screen point (flag as the document takes it).
    std::function<void(CHalvixDoc& doc, CPoint screenPoint, int flag)> insertMtfColourText;
    // The custom tool's matching of one input: the picked id (0 when the input is the floating
    // cell), or the floating cell the view made (owned by the page's tool state from then on).
    // Returns the number of cells of a finished application (> 0), 0 while inputs remain, or -1
    // when the application cannot be undone as one step.
    std::function<int(CGPage& page, WORD id, CGCell* floating)> matchToolInput;
    // Starts an application of the custom tool at a point (the page's marker is -1).
    std::function<void(CGPage& page, const float point[3])> applyToolStep;
};

// The services the view uses (one set for the program).
HxViewServices& HxGetViewServices();
