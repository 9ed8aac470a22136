// Places on the main window's tab pages.
#pragma once

#include <QRect>

namespace zv {

// The layout gives places in tab-control coordinates; a page starts at this offset in it.
inline QRect OnPage(int x, int y, int w, int h) { return {x - 2, y - 24, w, h}; }

} // namespace zv
