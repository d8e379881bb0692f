// Event bindings as data: a window's constant table of {control, event,
// handler} rows, and the one dispatch that looks an event up in it.
#pragma once

#include "base/Failure.h"
#include "forms/FormModel.h"

#include <span>

namespace kavrolt {

enum class FormEvent { Click, MouseEnter, MouseLeave };

// Handlers take the control that raised the event, as one handler may serve
// several controls.
template <typename Presenter, typename Id> struct Binding {
    Id control;
    FormEvent event;
    void (Presenter::*handler)(Id sender);
};

// Runs the handler bound to the event of the component at index, if any,
// inside a guard: a handler that fails ends silently. Tells whether one was.
template <typename Presenter, typename Id>
bool Dispatch(std::span<const Binding<Presenter, Id>> table, Presenter& presenter, int index,
              FormEvent event) {
    for (const auto& row : table) {
        if (Index(row.control) == index && row.event == event) {
            Guarded([&] { (presenter.*row.handler)(row.control); });
            return true;
        }
    }
    return false;
}

} // namespace kavrolt
