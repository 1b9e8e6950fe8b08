// libFuzzer target: any options, codes and paths. Read back by the Windows argument rules, the
// line starts with the two paths whatever they hold; it ends with the extra text, and it
// draws the warning exactly when it is longer than 127 characters.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launch/command_line.h"
#include "tests/support/windows_arguments.h"

namespace {

// Takes values off the front of the input, as long as it lasts.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::wstring Text() {
        const std::size_t length = Byte() % 24;
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i) {
            text += static_cast<wchar_t>(Byte());
        }
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A command line ends at NUL, and the program name cannot carry a double quote either.
bool ReadsBack(const std::wstring& path, std::wstring_view impossible) {
    return !path.empty() && path.find_first_of(impossible) == std::wstring::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace std::string_view_literals;
    Input in(data, size);
    lumarel::LaunchOptions o;
    const std::uint8_t flags = in.Byte();
    o.Sound_on = flags & 1;
    o.Joystick_on = flags & 2;
    o.Sound_Stereo = flags & 4;
    o.LoRom = flags & 8;
    o.HiRom = flags & 16;
    o.SuperFX_on = flags & 32;
    o.cOlOr16 = static_cast<std::int16_t>(in.Byte() % 3);
    o.ScaleImg = static_cast<std::int16_t>(in.Byte() % 3);
    o.Trans = static_cast<std::int16_t>(in.Byte() % 3);
    o.tv = static_cast<std::int16_t>(in.Byte() % 3);
    for (lumarel::ListChoice* list :
         {&o.Sound_Rate, &o.Joy_Stick_Type, &o.Screen_Resolution, &o.Frame_Rate}) {
        list->index = static_cast<std::int16_t>(static_cast<std::int8_t>(in.Byte()));
        list->text = in.Text();
    }
    o.Extra = in.Text();
    lumarel::CheatCodes codes;
    for (std::wstring& code : codes) {
        code = in.Text();
    }
    const std::wstring emulator = in.Text();
    const std::wstring rom = in.Text();

    const std::wstring line = lumarel::AssembleCommandLine(emulator, rom, o, codes);
    if (ReadsBack(emulator, L"\0\""sv) && ReadsBack(rom, L"\0"sv)) {
        const auto arguments = lumarel::testing::SplitWindowsCommandLine(line);
        if (arguments.size() < 2 || arguments[0] != emulator || arguments[1] != rom) {
            std::abort();
        }
    }
    if (line.size() < o.Extra.size() ||
        line.compare(line.size() - o.Extra.size(), o.Extra.size(), o.Extra) != 0) {
        std::abort();
    }
    const auto warning = lumarel::LengthWarning(line);
    if (warning.has_value() != (line.size() > lumarel::kLongestQuietCommandLine)) {
        std::abort();
    }
    return 0;
}
