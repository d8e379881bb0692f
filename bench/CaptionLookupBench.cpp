// Time of one caption lookup on the shipped English table, the way the
// program makes it: the "Language" value is read, the resource is fetched and
// decoded, and every line is split until the end of the table.
#include "appearance/Captions.h"
#include "text/TextCodecs.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ShippedTable() {
    std::ifstream file(KAVROLT_RESOURCES_DIR "/english.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Fixture {
    kavrolt::MemoryRegistryStore registry;
    std::vector<std::uint8_t> table = ShippedTable();

    Fixture() {
        kavrolt::WriteRegString(registry, kavrolt::kHkeyLocalMachine, kavrolt::kProgramKey,
                                u"Language", u"English", false);
    }

    kavrolt::CaptionSource Source() {
        return {registry,
                [this](std::u16string_view) -> std::optional<std::vector<std::uint8_t>> {
                    return table;
                },
                kavrolt::DecodeCodePage1252};
    }
};

void LookupOfAKnownCaption(benchmark::State& state) {
    Fixture fixture;
    if (fixture.table.empty()) {
        state.SkipWithError("cannot read english.txt");
        return;
    }
    const auto source = fixture.Source();
    for (auto _ : state) {
        auto text = kavrolt::LoadCaption(source, u"KVMainForm", u"GoButton");
        benchmark::DoNotOptimize(text);
    }
    state.SetLabel(std::to_string(fixture.table.size()) + " bytes of table");
}
BENCHMARK(LookupOfAKnownCaption);

void LookupOfAMissingCaption(benchmark::State& state) {
    Fixture fixture;
    const auto source = fixture.Source();
    for (auto _ : state) {
        auto text = kavrolt::LoadCaption(source, u"KVMainForm", u"NoSuchControl");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(LookupOfAMissingCaption);

} // namespace

BENCHMARK_MAIN();
