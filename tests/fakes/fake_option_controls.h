#pragma once
// Option controls kept in a LaunchOptions record, with the main window's group rules: what
// the option table says of each control.

#include "launch/option_table.h"

namespace lumarel::testing {

class FakeOptionControls final : public OptionControls {
public:
    LaunchOptions TakeLaunchOptions() const override { return options; }

    void SelectOption(OptionControl option) override {
        const OptionGroup group = OptionRowOf(option).group;
        for (const OptionRow& row : kOptionRows) {
            if (row.kind == OptionKind::Button && row.group == group) {
                options.*row.selected = row.control == option;
            }
        }
    }
    void SetCheckState(OptionControl option, std::int16_t state) override {
        options.*OptionRowOf(option).checkState = state;
    }
    void SetListIndex(OptionControl option, std::int16_t index) override {
        (options.*OptionRowOf(option).list).index = index;
    }

    LaunchOptions options;
};

}  // namespace lumarel::testing
