// The end-to-end driver: its one argument is the program to work, as a Linux
// path (seen by Wine through drive Z:) or a Windows path.
#include "e2e/DriverSupport.h"

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: kavrolt_e2e_tests <path of Kavrolt.exe>\n");
        return 2;
    }
    std::wstring program = argv[1];
    if (!program.empty() && program[0] == L'/')
        program = L"Z:" + program;
    for (auto& c : program)
        if (c == L'/')
            c = L'\\';
    kavrolt::e2e::g_programSource = program;
    return RUN_ALL_TESTS();
}
