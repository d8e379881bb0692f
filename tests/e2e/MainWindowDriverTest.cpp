// Starts the real program and works it through its windows the way a user
// would, reading what it shows through the window system.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring g_program; // the program under test, as a Windows path

struct Process {
    PROCESS_INFORMATION info{};
    ~Process() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
};

bool Start(Process& process, const std::wstring& arguments = L"") {
    std::wstring command = L"\"" + g_program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process.info) != FALSE;
}

HWND WaitForWindow(const wchar_t* windowClass, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (HWND window = FindWindowW(windowClass, nullptr); window && IsWindowVisible(window))
            return window;
        Sleep(100);
    }
    return nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(MainWindow, OpensWithItsCaptionAndClosesCleanly) {
    Process program;
    ASSERT_TRUE(Start(program));
    HWND main = WaitForWindow(L"TKVMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(main), L"Kavrolt - Make your games and computer run faster");
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right - client.left, 764);
    EXPECT_EQ(client.bottom - client.top, 500);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.info.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(program.info.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: kavrolt_e2e_tests <path of Kavrolt.exe>\n");
        return 2;
    }
    g_program = argv[1];
    if (!g_program.empty() && g_program[0] == L'/') // a Linux path, seen through drive Z:
        g_program = L"Z:" + g_program;
    for (auto& c : g_program)
        if (c == L'/')
            c = L'\\';
    return RUN_ALL_TESTS();
}
