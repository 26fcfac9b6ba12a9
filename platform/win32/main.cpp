#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_backend.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    inkmoss::Win32Backend backend;
    inkmoss::Program program(backend);
    program.start();
    return backend.messageLoop();
}
