#pragma once
#include <windows.h>

namespace inkmoss {

// Window procedures put in front of a window's current one: each sees every
// message first and passes it on, returning what the replaced one returns.
// The replaced procedure is kept in a window property named by `slot`, so
// every window keeps its own chain.
void putInFront(HWND hwnd, WNDPROC procedure, const char* slot);
LRESULT passOn(HWND hwnd, const char* slot, UINT message, WPARAM wParam, LPARAM lParam);

// Puts a procedure in front that ORs 0xF7120000 into the style of the
// window's class on every message. Of those bits only CS_DROPSHADOW means
// anything: every window of the shared class casts a shadow from then on,
// also those made later.
void layerClassStyle(HWND hwnd);

}  // namespace inkmoss
