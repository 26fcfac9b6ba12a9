// Starts a program and waits, polling every millisecond, until a top-level
// window of it is visible with the face colour painted at its centre; then
// reads the program's peak memory and ends it. A message box the program
// shows on the way is answered at once; when it appeared is reported too.
//
//   launcher.exe <program.exe>
//
// Prints one line: first-paint ms, message-box ms (-1: none), peak working
// set KiB, peak pagefile usage KiB. Exits 1 when the program dies or shows
// nothing within a minute.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr COLORREF kFace = 0xFF8800;
constexpr auto kPatience = std::chrono::minutes(1);

struct Sighting {
    DWORD process;
    HWND box = nullptr;
    bool painted = false;
};

bool showsFace(HWND window) {
    RECT place;
    if (!GetWindowRect(window, &place)) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    const COLORREF centre = GetPixel(screen, (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return centre == kFace;
}

BOOL CALLBACK look(HWND window, LPARAM sightingAddress) {
    auto& sighting = *reinterpret_cast<Sighting*>(sightingAddress);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != sighting.process || !IsWindowVisible(window)) {
        return TRUE;
    }
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
        sighting.box = window;
    } else if (showsFace(window)) {
        sighting.painted = true;
    }
    return TRUE;
}

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: launcher <program.exe>\n");
        return 2;
    }
    timeBeginPeriod(1);
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};

    const auto start = Clock::now();
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    long long paintMs = -1;
    long long boxMs = -1;
    while (paintMs < 0 && Clock::now() - start < kPatience && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        Sighting sighting{child.dwProcessId};
        EnumWindows(look, reinterpret_cast<LPARAM>(&sighting));
        if (sighting.painted) {
            paintMs = millisecondsSince(start);
        } else if (sighting.box) {
            if (boxMs < 0) {
                boxMs = millisecondsSince(start);
            }
            PostMessageA(sighting.box, WM_COMMAND, IDOK, 0);
        }
        Sleep(1);
    }

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, child.dwProcessId);
    const bool measured = process && GetProcessMemoryInfo(process, &memory, sizeof memory);
    if (process) {
        CloseHandle(process);
    }
    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, 5000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    if (paintMs < 0 || !measured) {
        std::fprintf(stderr, "%s showed no painted window\n", argv[1]);
        return 1;
    }
    std::printf("%lld %lld %zu %zu\n", paintMs, boxMs, memory.PeakWorkingSetSize / 1024,
                memory.PeakPagefileUsage / 1024);
    return 0;
}
