// The document's tool commands and what they share: the command ids of the tool menu, the current
// tool's command, the ribbon's tool menu as the commands see it, and the tool dialogs' seams.
#pragma once

#include "platform/afx.h"

class CRecord;

// The tool commands: new tool, apply the current tool (F5), the script view and the tool options.
// Our own numbers: no table gives them.
constexpr UINT ID_TOOL_CREATE = 34210; // "创建新工具..."
constexpr UINT ID_TOOL_AUTODO = 34211; // "应用当前工具"
constexpr UINT ID_TOOL_SCRIPT = 34212; // "显示脚本视图..."
constexpr UINT ID_TOOL_OPTION = 34213; // "工具属性"

// Tools in the tool menu: tool-set tool k has 20000 + k, document tool k 20000 + the number of
// tool-set tools + k; tool-set file k has 34000 + k and runs nothing.  Only these ranges are routed.
constexpr UINT ID_TOOLSET_FIRST = 34000;
constexpr UINT ID_TOOLSET_LAST = 34010;
constexpr UINT ID_TOOL_FIRST = 20000;
constexpr UINT ID_TOOL_LAST = 20500;

// The sub-items of the ribbon's custom-tool button: four fixed commands, then (when the document
// has tools) the label "当前文档工具" and one button per document tool, then the tool sets.
class HxToolMenu {
public:
    static constexpr int kDocumentLabel = 4; // the label's place; the document's tools follow it

    virtual ~HxToolMenu() = default;
    virtual int GetCount() const = 0;
    virtual void InsertLabel(int index, const CString& text) = 0;
    // A button of the command id with the text (also its tool tip) and the description.
    virtual void InsertButton(int index, UINT id, const CString& text, const CString& description) = 0;
    virtual void RemoveItem(int index) = 0;
    virtual void SetItemText(int index, const CString& text) = 0;
    virtual void SetItemDescription(int index, const CString& description) = 0;
};

// The tool menu of the ribbon (the frame installs it; null without a ribbon, and the commands that
// change the menu then do nothing), the command id of the current tool (0 for none) and the number
// of document tools in the menu.
extern HxToolMenu* g_pToolMenu;
extern int g_currentToolCommand;
extern int g_docToolMenuCount;

// Makes the tool current (null: none) with its command id; the script view, when there is one,
// shows it.
void HxSetCurrentTool(CRecord* tool, int command);
// The view's custom tool served by the page (matchToolInput, applyToolStep): done at start-up, and
// again by tests that replaced the services.
void HxInstallToolServices();
