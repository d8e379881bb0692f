#include "forms/FormModel.h"

#include "text/AsciiCase.h"

namespace kavrolt {

int FormModel::IndexOf(std::u16string_view componentName) const {
    for (std::size_t i = 0; i < components.size(); ++i)
        if (EqualsIgnoringAsciiCase(components[i].name, componentName))
            return static_cast<int>(i);
    return -1;
}

Component* FormModel::Find(std::u16string_view componentName) {
    const int index = IndexOf(componentName);
    return index < 0 ? nullptr : &components[static_cast<std::size_t>(index)];
}

void FormModel::SetTitle(std::u16string_view text) {
    if (title == text)
        return;
    title = std::u16string(text);
    if (textChanged)
        textChanged(kParentIsWindow);
}

void FormModel::SetText(int index, std::u16string_view text) {
    auto& component = components.at(static_cast<std::size_t>(index));
    if (component.text == text)
        return;
    component.text = std::u16string(text);
    if (textChanged)
        textChanged(index);
}

} // namespace kavrolt
