// The view's picture commands without their window: a document texture replaced by an image file or
// its built-in image, a picture file inserted as a picture item, and the clipboard's picture of dark
// text pasted as a bitmap text (following the selected point); and the texture dialog's fields.
#pragma once

#include "platform/afx.h"

#include <vector>

class CHalvixDoc;

// The file types of the picture commands.
extern const char16_t* const g_pictureFileFilter;

// "更换纹理图": which document texture (0 to 2), the image's path and whether it is the built-in one.
class CDlgReTextext : public CDialog {
    DECLARE_DYNAMIC(CDlgReTextext)
public:
    static constexpr UINT IDD = 233;
    static constexpr int kTextureNumber = 1015;
    static constexpr int kPath = 1000;
    static constexpr int kBrowse = 1027;
    static constexpr int kBuiltIn = 1030;

    CDlgReTextext() : CDialog(IDD) {}

    // "置换新图像": a picture file chosen in the file-open dialog; its path, the built-in flag cleared.
    // FALSE when the file dialog was cancelled.
    BOOL Browse();
    // "恢复内置图": the installation's image of the chosen texture, the built-in flag set.
    void RestoreBuiltIn();

    int m_texture = 0; // 0 to 2: "1", "2", "3"
    CString m_path;
    BOOL m_builtIn = FALSE;
};

// A picture file as the pixels of a picture item: rows of red, green, blue from the bottom up, each
// padded to 4 bytes.  Pictures of fewer than 24 bits are made true colour first; transparent parts
// are laid on white.  False with the message to show when the file cannot be read or converted.
bool HxReadPictureFile(const CString& path, int* width, int* height, std::vector<BYTE>& pixels,
                       CString* message);

// ID_EDIT_RETEXTURE: the texture dialog, then the texture loaded (a failure reported by the loader
// leaves it as it was).  TRUE when a texture was loaded; the document is then modified.
BOOL HxReplaceTexture(CHalvixDoc* doc);
// ID_CREATE_IMAGE: the file-open dialog, then the picture inserted into the document as one undo
// step "插入图片".  A file that cannot be used is reported and adds nothing.
BOOL HxInsertPictureFile(CHalvixDoc* doc);
// ID_CREATE_TEXT: the clipboard's picture as a one-bit bitmap text of its dark pixels, a bitmap text
// fixed to the screen, or one following the first selected point, as one undo step "粘贴图形文本".
// No usable picture is reported and adds nothing.
BOOL HxPasteBitmapText(CHalvixDoc* doc);
// Whether the clipboard offers a picture the paste can try.
bool HxCanPasteBitmapText();
