// libFuzzer target: any bytes as a settings file. Beyond not crashing, what a load produced
// must save and load again to the very same options and location.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/text_encoding.h"
#include "settings/settings_format.h"
#include "tests/fakes/fake_option_controls.h"

namespace {

struct Loaded {
    lumarel::LaunchOptions options;
    std::wstring path;
};

Loaded Load(const std::wstring& text) {
    lumarel::testing::FakeOptionControls controls;
    Loaded loaded;
    lumarel::ApplySettingChanges(lumarel::ReadSettings(text), controls, loaded.path);
    lumarel::ApplySettingChanges(lumarel::CompletionChanges(controls.options), controls,
                                 loaded.path);
    loaded.options = controls.options;
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as the reader decodes them, with Latin-1 standing in for the ANSI code page.
    const std::wstring text =
        lumarel::DecodeText(std::string_view(reinterpret_cast<const char*>(data), size),
                            [](std::string_view ansi) {
                                std::wstring latin1;
                                for (const char c : ansi) {
                                    latin1 += static_cast<wchar_t>(static_cast<unsigned char>(c));
                                }
                                return latin1;
                            })
            .text;
    const Loaded first = Load(text);
    const std::wstring saved = lumarel::SettingsText(first.path, first.options);
    const Loaded second = Load(saved);
    if (second.path != first.path || lumarel::SettingsText(second.path, second.options) != saved) {
        std::abort();
    }
    return 0;
}
