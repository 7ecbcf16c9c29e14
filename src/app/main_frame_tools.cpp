// The tool sets under the custom-tool button: every ".hvx" file below the installation folder's
// "Tools" becomes a button holding one sub-button per tool.
#include "app/main_frame.h"

#include "document/tool_record.h"

#include <QDir>
#include <QFileInfo>

void CMainFrame::LoadToolSetFolder(const QString& folder) {
    // Links to folders are not followed: a link back up the tree would never end.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            if (!entry.isSymLink())
                LoadToolSetFolder(entry.absoluteFilePath());
            continue;
        }
        const QString name = entry.fileName();
        if (name.size() >= 4 && name.right(4) == QStringLiteral(".hvx"))
            LoadToolSetFile(entry.absoluteFilePath(), name.left(name.size() - 4));
    }
}

void CMainFrame::LoadToolSetFile(const QString& path, const QString& title) {
    if (!g_customToolButton)
        return;
    CFile file;
    if (!file.Open(CString::FromQString(path), CFile::modeRead | CFile::typeBinary))
        return;
    // Not a tool set, a damaged one, or one with any record that is not a whole tool: skipped
    // without a word, like a file that cannot be opened.
    CRecordList tools;
    if (!HxReadToolSet(file, tools) || tools.IsEmpty())
        return;
    // Only the routed command ranges hold tool buttons: a set that does not fit is left out, so
    // that no button takes the id of another command.
    if (ID_TOOLSET_FIRST + UINT(g_toolSetCount) > ID_TOOLSET_LAST ||
        ID_TOOL_FIRST + UINT(g_toolCommandCount + tools.GetCount()) > ID_TOOL_LAST + 1) {
        HxDeleteRecords(tools);
        return;
    }
    if (g_toolCommandCount == 0)
        g_customToolButton->AddSubItem(new HxRibbonLabel(u"工具文件夹"));
    const CString setTitle = CString::FromQString(title);
    auto* set =
        new HxRibbonButton(ID_TOOLSET_FIRST + UINT(g_toolSetCount), setTitle,
                           HX_TOOLSET_IMAGE_BASE + g_toolSetCount, HX_TOOLSET_IMAGE_BASE + g_toolSetCount);
    set->SetToolTipText(setTitle);
    set->SetDescription(CString(u"自定义工具集：") + CString::FromQString(path));
    set->SetDefaultCommand(false);
    ++g_toolSetCount;
    while (!tools.IsEmpty()) {
        CRecord* tool = tools.RemoveHead();
        g_globalTools.AddTail(tool);
        auto* button = new HxRibbonButton(ID_TOOL_FIRST + UINT(g_toolCommandCount), tool->m_name);
        ++g_toolCommandCount;
        button->SetToolTipText(tool->m_name);
        button->SetDescription(tool->m_comment);
        set->AddSubItem(button);
    }
    g_customToolButton->AddSubItem(set);
}
