// The click sound through winmm.
#include "app/Sound.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace kavrolt {

static_assert(kClickSoundFlags == SND_RESOURCE, "resource sound, played synchronously");

void PlayClickSound(const SoundPlayer& play) {
    try {
        play(kClickSoundName, GetModuleHandleW(nullptr), kClickSoundFlags);
    } catch (...) {
    }
}

void PlayClickSound() {
    PlayClickSound([](std::u16string_view name, void* module, std::uint32_t flags) {
        const std::wstring wide(name.begin(), name.end());
        PlaySoundW(wide.c_str(), static_cast<HMODULE>(module), flags);
    });
}

} // namespace kavrolt
