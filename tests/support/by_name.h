#pragma once

#include <initializer_list>
#include <map>
#include <ostream>

#include "operations/control_names.h"

// Values by control name, written {{"Text1", "2.0"}, ...}: a name that the designer file does
// not hold does not compile.
template <typename Name, typename Value> class ByName {
public:
    struct Entry {
        Name name;
        Value value;
    };
    ByName() = default;
    ByName(std::initializer_list<Entry> entries) {
        for (const Entry& e : entries) {
            values_.insert_or_assign(e.name, e.value);
        }
    }
    Value& operator[](Name name) { return values_[name]; }
    bool contains(Name name) const { return values_.contains(name); }
    auto begin() const { return values_.begin(); }
    auto end() const { return values_.end(); }
    bool operator==(const ByName&) const = default;
    friend void PrintTo(const ByName& m, std::ostream* out) {
        for (const auto& [name, value] : m.values_) {
            *out << name.name() << "=" << value << " ";
        }
    }

private:
    std::map<Name, Value> values_;
};

// How a failing expectation names a control.
template <const auto& Names> void PrintTo(ControlName<Names> name, std::ostream* out) {
    *out << name.name();
}
