// The view's slide import (ID_CREATE_TEXT3): the import of slide_import.h with each new page turned
// to the plane view, and the scene drawn again at the end.
#include "view/halvix_view.h"

#include "view/slide_import.h"

void CHalvixView::OnImportSlides() {
    if (m_pDocument && HxImportSlides(m_pDocument, [this] { OnView2D(); }))
        RenderScene();
}
