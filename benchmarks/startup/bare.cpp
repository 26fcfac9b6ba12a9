// The floor for start-up figures: the least a Win32 program does to put one
// 502x319 window of the face colour on the screen.
#include <windows.h>

namespace {

constexpr COLORREF kFace = 0xFF8800;
constexpr int kWidth = 502;
constexpr int kHeight = 319;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = CreateSolidBrush(kFace);
    windowClass.lpszClassName = "BareFace";
    RegisterClassA(&windowClass);

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    const HWND window = CreateWindowExA(WS_EX_APPWINDOW, "BareFace", "bare", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                                        left, top, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
