#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "operations/form1_names.h"

// A control or menu entry of the window, made only from a name that the designer file holds:
// a misspelt name in the code does not compile. It carries the name the event procedures use
// ("Text12(3)") and the designer's ("Text12_3").
template <const auto& Names> class ControlName {
public:
    // NOLINTNEXTLINE(google-explicit-constructor): a literal name is the way to write one.
    consteval ControlName(const char* name) : index_(indexOf(name)) {}

    // Every name of its kind, in the designer file's order.
    static constexpr std::array<ControlName, std::size(Names)> all() {
        std::array<ControlName, std::size(Names)> names{};
        for (std::size_t i = 0; i < names.size(); ++i) {
            names[i].index_ = i;
        }
        return names;
    }
    // The control whose designer name this is, if the designer file holds one.
    static std::optional<ControlName> byDesignerName(std::string_view designerName) {
        for (const ControlName name : all()) {
            if (name.designerName() == designerName) {
                return name;
            }
        }
        return std::nullopt;
    }

    constexpr std::string_view name() const { return Names[index_].name; }
    constexpr std::string_view designerName() const { return Names[index_].designerName; }
    // NOLINTNEXTLINE(google-explicit-constructor): warnings and records name the control.
    operator std::string() const { return std::string(name()); }

    friend constexpr auto operator<=>(ControlName, ControlName) = default;

private:
    constexpr ControlName() = default;
    static consteval std::size_t indexOf(std::string_view name) {
        for (std::size_t i = 0; i < std::size(Names); ++i) {
            if (Names[i].name == name) {
                return i;
            }
        }
        throw "Form1.ui holds no control of this kind by this name";
    }

    std::size_t index_ = 0;
};

using BoxName = ControlName<form1::kBoxes>;
using ButtonName = ControlName<form1::kButtons>;
using FrameName = ControlName<form1::kFrames>;
using MenuName = ControlName<form1::kMenuEntries>;
