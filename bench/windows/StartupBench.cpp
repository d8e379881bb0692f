// Starts a window program again and again and measures each start: the time
// from process creation until the process is idle for input and its main
// window (found by class, owned by that process) is visible, and the private
// bytes of the process at that point. Each run's window is closed with
// WM_CLOSE and the process waited for before the next run starts, so that a
// single-instance program never meets an earlier instance of itself.
//
//   StartupBench <runs> <name> <exe> <window class> [<name> <exe> <window class>]...
//
// Programs whose name starts with "Baseline" are floors. Prints per program
// the median start-up milliseconds and private bytes; and for every other
// program, against every floor: the ratios of the medians, the per-round
// paired ratios (the runs take turns round by round, so a slow phase of the
// machine hits both of a pair) and their median, and one line
//   RATIO <program> <floor> startup <median of paired ratios> memory <ratio of medians>
// for scripts/bench to check against its targets.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Closes a kernel handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_)
            CloseHandle(handle_);
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

struct Program {
    std::wstring name, exe, windowClass;
    std::vector<double> milliseconds;
    std::vector<double> privateBytes;
    std::vector<double> pagefileBytes;
    std::vector<double> workingSetBytes;
};

struct FindArgs {
    const wchar_t* windowClass;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindOwnWindow(HWND window, LPARAM lParam) {
    auto& args = *reinterpret_cast<FindArgs*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {};
    if (owner == args.processId && GetClassNameW(window, name, 256) &&
        std::wcscmp(name, args.windowClass) == 0 && IsWindowVisible(window)) {
        args.found = window;
        return FALSE;
    }
    return TRUE;
}

double Now(const LARGE_INTEGER& frequency) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// One start; false when the program did not come up or did not end.
bool RunOnce(Program& program, const LARGE_INTEGER& frequency) {
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double started = Now(frequency);
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &info)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.exe.c_str(),
                      GetLastError());
        return false;
    }
    const Handle process(info.hProcess);
    const Handle thread(info.hThread);
    WaitForInputIdle(process.Get(), 30000);
    FindArgs args{program.windowClass.c_str(), info.dwProcessId, nullptr};
    const double deadline = started + 30000;
    while (!args.found && Now(frequency) < deadline) {
        EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&args));
        if (!args.found) {
            if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0)
                break;
            Sleep(1);
        }
    }
    const double shown = Now(frequency);
    bool ok = args.found != nullptr;
    if (ok) {
        // Idle again once the window is up, then the memory of that state.
        WaitForInputIdle(process.Get(), 30000);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.Get(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters)) {
            // Wine leaves PrivateUsage at zero; PagefileUsage is the same
            // commit charge on Windows and is what Wine fills in.
            program.privateBytes.push_back(static_cast<double>(
                counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage));
            program.pagefileBytes.push_back(static_cast<double>(counters.PagefileUsage));
            program.workingSetBytes.push_back(static_cast<double>(counters.WorkingSetSize));
        }
        program.milliseconds.push_back(shown - started);
        PostMessageW(args.found, WM_CLOSE, 0, 0);
    } else {
        std::fwprintf(stderr, L"%ls: no visible window of class %ls\n", program.name.c_str(),
                      program.windowClass.c_str());
    }
    if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"%ls did not end, terminating it\n", program.name.c_str());
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 10000);
        ok = false;
    }
    return ok;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5 || (argc - 2) % 3 != 0) {
        std::fwprintf(stderr, L"usage: StartupBench runs name exe class [name exe class]...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i + 2 < argc; i += 3)
        programs.push_back({argv[i], argv[i + 1], argv[i + 2], {}, {}, {}, {}});
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // One start of each that is not counted: the first start after a build
    // reads the files from disk and sets up the session.
    for (auto& program : programs) {
        if (!RunOnce(program, frequency))
            return 1;
        program.milliseconds.clear();
        program.privateBytes.clear();
        program.pagefileBytes.clear();
        program.workingSetBytes.clear();
    }
    // Interleaved, so that a slow phase of the machine hits every program.
    for (int run = 0; run < runs; ++run)
        for (auto& program : programs)
            if (!RunOnce(program, frequency))
                return 1;
    for (const auto& program : programs) {
        const double ms = Median(program.milliseconds);
        const double bytes = Median(program.privateBytes);
        std::wprintf(L"%ls: start-up median %.1f ms of %zu runs (min %.1f, max %.1f); "
                     L"private bytes median %.0f (%.1f KiB), pagefile usage %.0f, "
                     L"working set %.0f\n",
                     program.name.c_str(), ms, program.milliseconds.size(),
                     *std::min_element(program.milliseconds.begin(), program.milliseconds.end()),
                     *std::max_element(program.milliseconds.begin(), program.milliseconds.end()),
                     bytes, bytes / 1024, Median(program.pagefileBytes),
                     Median(program.workingSetBytes));
    }
    const auto isFloor = [](const Program& program) {
        return program.name.rfind(L"Baseline", 0) == 0;
    };
    for (const auto& program : programs) {
        if (isFloor(program))
            continue;
        for (const auto& floor : programs) {
            if (!isFloor(floor))
                continue;
            std::vector<double> pairedMs, pairedBytes;
            std::wprintf(L"%ls / %ls per round (start-up, private bytes):", program.name.c_str(),
                         floor.name.c_str());
            for (std::size_t r = 0; r < program.milliseconds.size(); ++r) {
                pairedMs.push_back(program.milliseconds[r] / floor.milliseconds[r]);
                if (r < program.privateBytes.size() && r < floor.privateBytes.size() &&
                    floor.privateBytes[r] > 0)
                    pairedBytes.push_back(program.privateBytes[r] / floor.privateBytes[r]);
                std::wprintf(L" %.2f/%.2f", pairedMs.back(),
                             pairedBytes.empty() ? 0.0 : pairedBytes.back());
            }
            const double medianRatioMs = Median(program.milliseconds) / Median(floor.milliseconds);
            const double floorBytes = Median(floor.privateBytes);
            const double medianRatioBytes =
                floorBytes > 0 ? Median(program.privateBytes) / floorBytes : 0;
            std::wprintf(L"\n%ls / %ls: start-up ratio of medians %.2f, median of paired ratios "
                         L"%.2f; private bytes ratio of medians %.2f, median of paired ratios "
                         L"%.2f\n",
                         program.name.c_str(), floor.name.c_str(), medianRatioMs, Median(pairedMs),
                         medianRatioBytes, Median(pairedBytes));
            std::wprintf(L"RATIO %ls %ls startup %.3f memory %.3f\n", program.name.c_str(),
                         floor.name.c_str(), Median(pairedMs), medianRatioBytes);
        }
    }
    return 0;
}
