#include "launch/command_line.h"

#include <cwctype>

namespace lumarel {

std::wstring DirectoryOf(const std::wstring& filePath) {
    const size_t lastBackslash = filePath.rfind(L'\\');
    if (lastBackslash == std::wstring::npos) {
        return {};
    }
    std::wstring directory = filePath.substr(0, lastBackslash);
    if (directory.empty() || directory.back() == L':') {
        directory += L'\\';
    }
    return directory;
}

bool IsAcceptedEmulatorPath(const std::wstring& path) {
    if (path.size() < 3) {
        return false;
    }
    std::wstring ending = path.substr(path.size() - 3);
    for (wchar_t& c : ending) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return ending == L"EXE";
}

static bool NeedsQuotes(const std::wstring& path) {
    return path.find_first_of(L" \t\"") != std::wstring::npos;
}

std::wstring QuotedProgramArgument(const std::wstring& path) {
    if (!NeedsQuotes(path)) {
        return path;
    }
    return L'"' + path + L'"';
}

std::wstring QuotedArgument(const std::wstring& path) {
    if (!NeedsQuotes(path)) {
        return path;
    }
    std::wstring quoted = L"\"";
    // Backslashes count only before a double quote: doubled there, plus one to escape it.
    std::size_t backslashes = 0;
    for (const wchar_t c : path) {
        if (c == L'\\') {
            ++backslashes;
        } else if (c == L'"') {
            quoted.append(backslashes + 1, L'\\');
            backslashes = 0;
        } else {
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, L'\\');
    return quoted + L'"';
}

std::wstring AssembleCommandLine(const std::wstring& shortEmulatorPath,
                                 const std::wstring& shortRomPath, const LaunchOptions& options,
                                 const CheatCodes& cheatCodes) {
    std::wstring line =
        QuotedProgramArgument(shortEmulatorPath) + L' ' + QuotedArgument(shortRomPath) + L' ';
    const auto add = [&line](bool condition, const std::wstring& piece) {
        if (condition) {
            line += piece;
        }
    };

    add(!options.Sound_on, L"-ns ");
    add(options.ScaleImg != Unchecked, L"-sc ");
    add(!options.Joystick_on, L"-j ");
    add(options.Sound_Stereo, L"-st ");
    add(options.LoRom, L"-lr ");
    add(options.HiRom, L"-hr ");
    add(options.Trans != Unchecked, L"-tr ");
    add(options.SuperFX_on, L"-i2 ");
    add(options.cOlOr16 != Unchecked, L"-16 ");

    const ListChoice& resolution = options.Screen_Resolution;
    add(resolution.index > 0, L"-m " + std::to_wstring(resolution.index - 1) + L' ');
    const ListChoice& rate = options.Sound_Rate;
    add(rate.index > 0, L"-r " + std::to_wstring(rate.index) + L' ');
    const ListChoice& frames = options.Frame_Rate;
    add(frames.index > 0, L"-f " + frames.text + L' ');
    const ListChoice& joystick = options.Joy_Stick_Type;
    add(options.Joystick_on && joystick.index > 0,
        std::wstring(L"-") + joystick.text.substr(0, 1) + L' ');
    add(options.tv != Unchecked, L"-y ");

    for (const std::wstring& code : cheatCodes) {
        add(code.size() == 9, L"-gg " + code + L' ');
    }
    line += options.Extra;
    return line;
}

std::optional<std::wstring> LengthWarning(const std::wstring& commandLine) {
    if (commandLine.size() <= kLongestQuietCommandLine) {
        return std::nullopt;
    }
    return L"Commandline is too long! It will be truncated at:\n" +
           commandLine.substr(0, kLongestQuietCommandLine);
}

}  // namespace lumarel
