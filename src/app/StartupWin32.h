// Start-up on Windows: the real registry, clock, windows and update check.
#pragma once

namespace kavrolt::win {

// Runs the whole program from the process's command line; returns 0.
int RunProgramEntry();

} // namespace kavrolt::win
