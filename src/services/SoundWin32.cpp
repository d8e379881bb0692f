// The click sound through winmm, which is loaded at the first click.
#include "services/Sound.h"

#include "services/Shell.h"

#include <windows.h>

#include "base/Failure.h"

#include <mmsystem.h>

#include <string>

namespace kavrolt {

static_assert(kClickSoundFlags == SND_RESOURCE, "resource sound, played synchronously");

void PlayClickSound(const SoundPlayer& play) {
    Guarded([&] { play(kClickSoundName, GetModuleHandleW(nullptr), kClickSoundFlags); });
}

void PlayClickSound() {
    PlayClickSound([](std::u16string_view name, void* module, std::uint32_t flags) {
        using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
        static const auto playSound =
            reinterpret_cast<PlaySoundFunction>(SystemFunction(u"winmm.dll", "PlaySoundW"));
        if (playSound == nullptr)
            return;
        const std::wstring wide(name.begin(), name.end());
        playSound(wide.c_str(), static_cast<HMODULE>(module), flags);
    });
}

} // namespace kavrolt
