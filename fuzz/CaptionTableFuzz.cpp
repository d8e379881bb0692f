// Arbitrary bytes as the caption-table resource, through the caption lookup
// and through the pass that gives a window its texts. It must not crash, must
// keep within the memory bound, and the two must agree: a text component that
// has a row gets the text that the lookup gives for it.
#include "appearance/Captions.h"
#include "text/TextCodecs.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistryStore.h"
#include "forms/FormModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

kavrolt::Component Named(std::u16string name, kavrolt::ComponentKind kind) {
    kavrolt::Component component;
    component.name = std::move(name);
    component.kind = kind;
    component.text = u"design";
    return component;
}

kavrolt::FormModel SmallForm() {
    kavrolt::FormModel form;
    form.name = u"KVMainForm";
    form.title = u"design title";
    form.components.push_back(Named(u"GoButton", kavrolt::ComponentKind::Button));
    form.components.push_back(Named(u"NavStatic4", kavrolt::ComponentKind::Label));
    form.components.push_back(Named(u"TopPanel", kavrolt::ComponentKind::Panel));
    form.components.push_back(Named(u"Logo", kavrolt::ComponentKind::Picture));
    form.components.push_back(Named(u"A", kavrolt::ComponentKind::Edit));
    return form;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every call splits the whole table; beyond this length inputs only repeat
    // rows and slow the search down.
    if (size > 64 * 1024)
        return 0;
    kavrolt::MemoryRegistryStore registry;
    kavrolt::WriteRegString(registry, kavrolt::kHkeyLocalMachine, kavrolt::kProgramKey, u"Language",
                            u"English", false);

    const std::vector<std::uint8_t> table(data, data + size);
    int reads = 0;
    const kavrolt::CaptionSource source{
        registry,
        [&](std::u16string_view name) -> std::optional<std::vector<std::uint8_t>> {
            ++reads;
            if (name != u"English")
                return std::nullopt;
            return table;
        },
        kavrolt::DecodeCodePage1252};

    kavrolt::FormModel form = SmallForm();
    int changes = 0;
    form.textChanged = [&](int) { ++changes; };
    kavrolt::ApplyCaptions(source, form);
    Check(registry.OpenKeyCount() == 0);

    // Whether both the pass and the lookups run through to the end: every row
    // of the table has a window name, a key and a text.
    const auto lines =
        kavrolt::SplitCaptionLines(kavrolt::DecodeCaptionText(table, kavrolt::DecodeCodePage1252));
    bool complete = true;
    for (const auto& line : lines) {
        const auto fields = kavrolt::SplitCaptionRow(line);
        if (fields.size() < 3) {
            complete = false;
            break;
        }
    }
    if (complete) {
        const kavrolt::FormModel design = SmallForm();
        for (std::size_t i = 0; i < form.components.size(); ++i) {
            const auto& component = form.components[i];
            const std::u16string looked = kavrolt::LoadCaption(source, form.name, component.name);
            // A text the pass set is the one the lookup finds (the last row
            // wins in both); an untouched text is still the design text.
            Check(component.text == looked || component.text == design.components[i].text);
        }
    }
    for (const std::u16string_view key :
         {std::u16string_view(u"GoButton"), std::u16string_view(u"KVMainForm"),
          std::u16string_view(u"")}) {
        (void)kavrolt::LoadCaption(source, u"KVMainForm", key);
        (void)kavrolt::LoadCaption(source, u"kvmainform", key);
    }
    // Each row changes at most one text.
    Check(static_cast<std::size_t>(changes) <= lines.size());
    Check(registry.OpenKeyCount() == 0);
    Check(reads > 0);
    return 0;
}
