#include "platform/win32/layered_procedures.h"

namespace inkmoss {

namespace {

constexpr char kClassStyleSlot[] = "Inkmoss.ClassStyle";
constexpr DWORD kClassStyleBits = 0xF7120000;

LRESULT CALLBACK classStyleProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SetClassLongA(hwnd, GCL_STYLE, static_cast<LONG>(GetClassLongA(hwnd, GCL_STYLE) | kClassStyleBits));
    return passOn(hwnd, kClassStyleSlot, message, wParam, lParam);
}

}  // namespace

void putInFront(HWND hwnd, WNDPROC procedure, const char* slot) {
    const LONG_PTR previous = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropA(hwnd, slot, reinterpret_cast<HANDLE>(previous));
}

LRESULT passOn(HWND hwnd, const char* slot, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, slot));
    // The last message a window gets: its properties must not outlive it.
    if (message == WM_NCDESTROY) RemovePropA(hwnd, slot);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void layerClassStyle(HWND hwnd) { putInFront(hwnd, classStyleProcedure, kClassStyleSlot); }

}  // namespace inkmoss
