// Registry data of any type and size through the eight registry helpers on the
// in-memory registry. Reads must give what the data says or the caller's
// default, writes must read back, no key may stay open, and key paths and
// value names made of the input must not crash any of them.
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kavrolt::MemoryRegistryStore;

constexpr kavrolt::RegRoot kRoot = kavrolt::kHkeyCurrentUser;
constexpr std::u16string_view kPath = u"\\Software\\Fuzz\\Data\\";

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Takes bytes off the front of the input.
struct Input {
    const std::uint8_t* data;
    std::size_t size;

    std::uint8_t Byte() {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    std::uint32_t Word() {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i)
            word |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return word;
    }
    // A short text of one byte per character, backslashes and zeros included.
    std::u16string Text() {
        const std::size_t length = Byte() % 12;
        std::u16string text;
        for (std::size_t i = 0; i < length; ++i)
            text.push_back(static_cast<char16_t>(Byte()));
        return text;
    }
};

// What a text read gives for stored data: the UTF-16 LE characters up to the
// first zero, an odd last byte as a character of its own.
std::u16string TextOfData(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const auto low = data[i];
        const auto high = i + 1 < data.size() ? data[i + 1] : std::uint8_t{0};
        const auto c = static_cast<char16_t>(low | (high << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    Input in{bytes, size};
    const bool use64 = in.Byte() & 1;
    const std::uint32_t type = in.Word();
    const std::u16string name = in.Text();
    const std::u16string path = in.Text();
    const auto number = static_cast<std::int32_t>(in.Word());
    const std::vector<std::uint8_t> data(in.data, in.data + in.size);

    MemoryRegistryStore store;
    store.Put(kRoot, kPath, name, {type, data});

    // Reads of the stored value.
    const std::u16string text =
        kavrolt::ReadRegString(store, kRoot, kPath, name, u"fallback", use64);
    const bool isText = type == kavrolt::kRegSz || type == kavrolt::kRegExpandSz;
    const std::u16string expected = TextOfData(data);
    if (isText && !expected.empty())
        Check(text == expected);
    else
        Check(text == u"fallback");

    const bool isDword = type == kavrolt::kRegDword && data.size() <= 4;
    std::uint32_t dword = 0;
    for (std::size_t i = 0; i < data.size() && i < 4; ++i)
        dword |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    for (const std::int32_t fallback : {-7, 0}) {
        const std::int32_t read =
            kavrolt::ReadRegInteger(store, kRoot, kPath, name, fallback, use64);
        Check(read == (isDword ? static_cast<std::int32_t>(dword) : fallback));
    }
    for (const bool fallback : {false, true})
        Check(kavrolt::ReadRegBool(store, kRoot, kPath, name, fallback, use64) ==
              (isDword ? dword != 0 : fallback));
    Check(store.OpenKeyCount() == 0);

    // Writes read back, then the deletion removes the value.
    kavrolt::WriteRegBinary(store, kRoot, kPath, name, data, use64);
    Check(store.Get(kRoot, kPath, name) == MemoryRegistryStore::Value{kavrolt::kRegBinary, data});
    kavrolt::WriteRegInteger(store, kRoot, kPath, name, number, use64);
    Check(kavrolt::ReadRegInteger(store, kRoot, kPath, name, ~number, use64) == number);
    kavrolt::WriteRegBool(store, kRoot, kPath, name, number & 1, use64);
    Check(kavrolt::ReadRegBool(store, kRoot, kPath, name, !(number & 1), use64) ==
          bool(number & 1));
    const std::u16string written = TextOfData(data);
    kavrolt::WriteRegString(store, kRoot, kPath, name, written, use64);
    Check(kavrolt::ReadRegString(store, kRoot, kPath, name, u"fallback", use64) ==
          (written.empty() ? u"fallback" : written));
    kavrolt::DeleteRegValue(store, kRoot, kPath, name, use64);
    Check(!store.Get(kRoot, kPath, name));
    Check(store.OpenKeyCount() == 0);

    // A path made of the input: whatever the store accepts reads back.
    kavrolt::WriteRegInteger(store, kRoot, path, name, number, use64);
    const std::int32_t back = kavrolt::ReadRegInteger(store, kRoot, path, name, ~number, use64);
    Check(back == number || back == ~number);
    kavrolt::WriteRegString(store, kRoot, path, name, written, use64);
    (void)kavrolt::ReadRegString(store, kRoot, path, name, u"", use64);
    kavrolt::WriteRegBinary(store, kRoot, path, name, data, use64);
    (void)kavrolt::ReadRegBool(store, kRoot, path, name, false, use64);
    kavrolt::DeleteRegValue(store, kRoot, path, name, use64);
    Check(store.OpenKeyCount() == 0);
    return 0;
}
