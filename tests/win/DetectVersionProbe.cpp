// Exits with the VersionCode that detection gives in this process (plus one,
// so that -1 becomes 0). The test starts it under each emulated release.
#include "sysinfo/WindowsVersion.h"

int main() {
    return kavrolt::DetectWindowsVersion() + 1;
}
