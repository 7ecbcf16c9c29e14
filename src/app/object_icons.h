// The icons of the object tree (by image number: the document, pages and each kind of cell), of the
// object pane's and full-screen toolbars and of the page, view and window commands, drawn like the
// ribbon's.
#pragma once

#include <QIcon>

// Adds the drawings to the ribbon's icon set (once; later calls do nothing).
void HxRegisterObjectIcons();
// The icon of image number n of the tree: 0 page, 1 point, 2 free point, 3 line, 4 face, 5 circle,
// 6 curve, 7 locus, 8 text, 9 measurement, 10 button, 11 cylinder, 12 cone, 13 frustum, 14 sphere,
// 15 iteration, 16 surface, 17 anything else, 20 the document.
QIcon HxObjectIcon(int image);
// The icon name behind image number n.
QString HxObjectIconName(int image);
