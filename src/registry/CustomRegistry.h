// The eight functions through which the program makes every registry access.
// Each call opens one key, reads, writes or deletes one value, and closes the
// key again. No failure leaves a call: a read that cannot be made gives the
// caller's default, a write or deletion that cannot be made does nothing.
#pragma once

#include "registry/RegistryStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrolt {

// The program's own key under HKEY_LOCAL_MACHINE.
inline constexpr std::u16string_view kProgramKey = u"\\Software\\TORVEK\\Kavrolt\\";

std::u16string ReadRegString(RegistryStore& store, RegRoot root, std::u16string_view path,
                             std::u16string_view name, std::u16string_view fallback,
                             bool use64BitView);
std::int32_t ReadRegInteger(RegistryStore& store, RegRoot root, std::u16string_view path,
                            std::u16string_view name, std::int32_t fallback, bool use64BitView);
bool ReadRegBool(RegistryStore& store, RegRoot root, std::u16string_view path,
                 std::u16string_view name, bool fallback, bool use64BitView);
void WriteRegString(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, std::u16string_view text, bool use64BitView);
void WriteRegInteger(RegistryStore& store, RegRoot root, std::u16string_view path,
                     std::u16string_view name, std::int32_t number, bool use64BitView);
void WriteRegBinary(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, const std::vector<std::uint8_t>& bytes,
                    bool use64BitView);
void WriteRegBool(RegistryStore& store, RegRoot root, std::u16string_view path,
                  std::u16string_view name, bool flag, bool use64BitView);
void DeleteRegValue(RegistryStore& store, RegRoot root, std::u16string_view path,
                    std::u16string_view name, bool use64BitView);

// The same eight on DefaultRegistryStore().
std::u16string ReadRegString(RegRoot root, std::u16string_view path, std::u16string_view name,
                             std::u16string_view fallback, bool use64BitView);
std::int32_t ReadRegInteger(RegRoot root, std::u16string_view path, std::u16string_view name,
                            std::int32_t fallback, bool use64BitView);
bool ReadRegBool(RegRoot root, std::u16string_view path, std::u16string_view name, bool fallback,
                 bool use64BitView);
void WriteRegString(RegRoot root, std::u16string_view path, std::u16string_view name,
                    std::u16string_view text, bool use64BitView);
void WriteRegInteger(RegRoot root, std::u16string_view path, std::u16string_view name,
                     std::int32_t number, bool use64BitView);
void WriteRegBinary(RegRoot root, std::u16string_view path, std::u16string_view name,
                    const std::vector<std::uint8_t>& bytes, bool use64BitView);
void WriteRegBool(RegRoot root, std::u16string_view path, std::u16string_view name, bool flag,
                  bool use64BitView);
void DeleteRegValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                    bool use64BitView);

} // namespace kavrolt
