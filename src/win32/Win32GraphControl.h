#pragma once
// The window class of the program's graph controls (ControlKind::Graph): a child window that
// a painter draws whole at each WM_PAINT, through a memory bitmap. It has no background brush
// and answers WM_ERASEBKGND itself, so nothing is cleared between two pictures.

#include <windows.h>

#include "platform/Canvas.h"

namespace linkscope {

// Registers the class for `instance` once; dialogs that name the class need it first.
bool RegisterGraphClass(HINSTANCE instance);
bool IsGraphWindow(HWND window);
void SetGraphPainter(HWND window, ICanvasPainter* painter);

}  // namespace linkscope
