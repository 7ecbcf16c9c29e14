// The view-button dialogs' fields.
#include "dynamics/view_button_dialogs.h"

IMPLEMENT_DYNAMIC(CDlgViewButton, CDialog)
IMPLEMENT_DYNAMIC(CDlgViewRotate, CDlgViewButton)
IMPLEMENT_DYNAMIC(CDlgViewTrans, CDlgViewButton)
IMPLEMENT_DYNAMIC(CDlgViewScale, CDlgViewButton)
