#include "toolkit/density.h"

namespace {

// A function of user32 that newer Windows has, or nullptr.
template <typename F>
F NewerFunction(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int SystemDensity() {
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : 96;
}

int WindowDensity(HWND window) {
    using DpiFn = UINT(WINAPI*)(HWND);
    using ContextFn = HANDLE(WINAPI*)(HWND);
    using AwarenessFn = int(WINAPI*)(HANDLE);
    static const DpiFn getDpiForWindow = NewerFunction<DpiFn>("GetDpiForWindow");
    static const ContextFn getContext = NewerFunction<ContextFn>("GetWindowDpiAwarenessContext");
    static const AwarenessFn getAwareness = NewerFunction<AwarenessFn>("GetAwarenessFromDpiAwarenessContext");
    if (!window || !getDpiForWindow || !getContext || !getAwareness) return 0;
    // Only a window aware of its monitor's density has one of its own: an unaware one is told
    // 96 whatever the monitor (and Wine tells it so while the screen says otherwise).
    constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
    if (getAwareness(getContext(window)) != kPerMonitorAware) return 0;
    return static_cast<int>(getDpiForWindow(window));
}

int SystemMetricForDensity(int index, int pixelsPerInch) {
    using Fn = int(WINAPI*)(int, UINT);
    static const Fn getSystemMetricsForDpi = NewerFunction<Fn>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi) return getSystemMetricsForDpi(index, static_cast<UINT>(pixelsPerInch));
    return MulDiv(GetSystemMetrics(index), pixelsPerInch, SystemDensity());
}

RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int pixelsPerInch) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn adjustForDpi = NewerFunction<Fn>("AdjustWindowRectExForDpi");
    RECT r = client;
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(pixelsPerInch))) {
        r = client;
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
    return r;
}
