// CFontDialog's run-time class.
#include "platform/font_dialog.h"

IMPLEMENT_DYNAMIC(CFontDialog, CDialog)
