// The application's hint machinery on Windows: a thread timer, the pointer's
// position and the height of its cursor.
#pragma once

#include "forms/HintApplication.h"

#include <windows.h>

namespace kavrolt::win {

class Win32HintHost final : public HintHost {
public:
    Win32HintHost() = default;
    ~Win32HintHost() override;
    Win32HintHost(const Win32HintHost&) = delete;
    Win32HintHost& operator=(const Win32HintHost&) = delete;

    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    HintPoint CursorPos() override;
    int CursorHeight() override;
    int ScreenWidth() override;

private:
    UINT_PTR timer_ = 0;
};

// The program's hint machinery, for as long as it lives: the windows tell it
// where the pointer is, and the message loops tell it of keys and clicks.
class ProgramHints {
public:
    ProgramHints();
    ~ProgramHints();
    ProgramHints(const ProgramHints&) = delete;
    ProgramHints& operator=(const ProgramHints&) = delete;
    HintApplication& Application() { return application_; }

private:
    Win32HintHost host_;
    HintApplication application_{host_};
};

// The living ProgramHints' machinery; nothing when there is none.
HintApplication* ApplicationHints();

// Whether the message cancels a shown hint: a key or a mouse button pressed.
bool CancelsHint(UINT message);

} // namespace kavrolt::win
