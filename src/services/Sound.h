// The click sound that buttons and links play before they act.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace kavrolt {

// The WAVE resource "CLICK" of the program's own module, asked for by name
// (resource names are matched without regard to case).
inline constexpr std::u16string_view kClickSoundName = u"click";
// SND_RESOURCE alone: the call returns when the sound has finished, and the
// system's default sound plays when the resource is missing.
inline constexpr std::uint32_t kClickSoundFlags = 0x00040004;

// One PlaySoundW call: sound name, module (an HMODULE), flags.
using SoundPlayer =
    std::function<void(std::u16string_view name, void* module, std::uint32_t flags)>;

// Plays the click sound through the given player, or through PlaySoundW.
void PlayClickSound(const SoundPlayer& play);
void PlayClickSound();

} // namespace kavrolt
