// The window that shows the label dialog.
#pragma once

// Registers the window of CDlgPropertyLabel (the view does this when it is made).
void HxRegisterLabelDialogPresenter();
