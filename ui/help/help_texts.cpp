#include "ui/help/help_texts.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace lumarel {

namespace {

enum class Kind { kPlain, kKey, kTabbedKey, kMore };

// One line of the keyboard reference, so the text and its key list cannot drift apart.
struct Line {
    Kind kind;
    std::wstring_view key;
    std::wstring_view text;
};

constexpr Line Plain(std::wstring_view text) {
    return {Kind::kPlain, {}, text};
}
constexpr Line Key(std::wstring_view key, std::wstring_view action) {
    return {Kind::kKey, key, action};
}
constexpr Line TabbedKey(std::wstring_view key, std::wstring_view action) {
    return {Kind::kTabbedKey, key, action};
}
constexpr Line More(std::wstring_view action) {
    return {Kind::kMore, {}, action};
}

// A multiple of the tab width, so lines aligned by tabs meet the same column as the others.
// Actions are worded to end by column 80: Courier New fits about 82 columns in the box, less
// its scroll bar, and a longer line would wrap to the box's left edge.
constexpr std::size_t kActionColumn = 32;
constexpr std::size_t kTabWidth = 8;

constexpr Line kKeyboardLines[] = {
    Plain(L"Keyboard Controls"),
    Plain(L"================="),
    Plain(L""),
    Plain(L"While the emulator is running:"),
    Plain(L""),
    Key(L"'Escape'", L"quit the emulator and return here"),
    Key(L"'Pause' or 'Scroll Lock'", L"pause the emulator"),
    Plain(L""),
    Plain(L"The joy-pad keys below are the emulator's own keyboard defaults;"),
    Plain(L"its configuration file can give the buttons other keys."),
    Plain(L""),
    Plain(L"Joy-pad 1:"),
    Plain(L""),
    Key(L"'Arrow up'", L"up"),
    Key(L"'Arrow down'", L"down"),
    Key(L"'Arrow left'", L"left"),
    Key(L"'Arrow right'", L"right"),
    Key(L"'Home'", L"up and left together"),
    Key(L"'Pg Up'", L"up and right together"),
    Key(L"'End'", L"down and left together"),
    Key(L"'Pg Down'", L"down and right together"),
    Plain(L""),
    Key(L"'a'", L"TL button (top left)"),
    Key(L"'z'", L"TR button (top right)"),
    Key(L"'s'", L"X button"),
    Key(L"'x'", L"Y button"),
    Key(L"'d'", L"A button"),
    Key(L"'c'", L"B button"),
    Plain(L""),
    Key(L"'return'", L"Start button"),
    Key(L"'space'", L"Select button"),
    Plain(L""),
    Plain(L"These are default keys, and cannot be changed:"),
    Plain(L""),
    Key(L"'Mouse left'", L"left mouse button, or SuperScope fire button"),
    Key(L"'Mouse right'", L"right mouse button, or SuperScope cursor button"),
    Key(L"'tab'", L"SuperScope turbo switch; each press flips it"),
    Key(L"'`'", L"SuperScope pause button"),
    Plain(L""),
    Key(L"'0'", L"H-DMA emulation on or off"),
    Key(L"'1'", L"background 1 on or off"),
    Key(L"'2'", L"background 2 on or off"),
    Key(L"'3'", L"background 3 on or off"),
    Key(L"'4'", L"background 4 on or off"),
    Key(L"'5'", L"sprites on or off"),
    Key(L"'6'", L"swap joy-pads one and two"),
    Key(L"'7'", L"step to the next controller set-up, in turn:"),
    More(L"Multi-player 5, mouse on port 1, mouse on"),
    More(L"port 2, SuperScope emulation, then round again"),
    Key(L"'8'", L"swap the priorities of the background layers"),
    More(L"taking part in sub-screen addition/subtraction"),
    Key(L"'9'", L"transparency effects on or off"),
    More(L"(only in 16-bit screen mode)"),
    Key(L"'Backspace'", L"emulation of graphics window effects on or off"),
    Plain(L""),
    Key(L"'-'", L"redraw the screen more often (less frame skip)"),
    Key(L"'+'", L"redraw the screen less often (more frame skip);"),
    More(L"in turn: automatic frame-rate adjustment,"),
    More(L"every frame, one frame in two, one in three,"),
    More(L"one in four, and so on"),
    Plain(L""),
    Key(L"'F1'", L"save a sound dump: the sound processor's"),
    More(L"registers, RAM and DSP"),
    More(L"Press it just as the song starts: it saves what"),
    More(L"the registers hold at that moment, and does not"),
    More(L"wait for a sound to begin."),
    Plain(L""),
    Key(L"'F2'", L"fast forward: the frame skip goes up to 9"),
    Key(L"'F3'", L"back to normal speed after fast forward"),
    Plain(L""),
    TabbedKey(L"Alt+'F2'", L"load the game's saved position"),
    TabbedKey(L"Alt+'F3'", L"save the game's position"),
    Key(L"Alt+'F4' -> 'F11'", L"sound channel 1 to 8 on or off, one key each"),
    TabbedKey(L"Alt+'F12'", L"all sound channels back on"),
};

static_assert(std::size(kKeyboardLines) == 74);

std::wstring Rendered(const Line& line) {
    std::wstring rendered(line.key);
    switch (line.kind) {
        case Kind::kPlain:
            break;
        case Kind::kKey:
            rendered.resize(kActionColumn, L' ');
            break;
        case Kind::kTabbedKey:
            for (std::size_t column = rendered.size(); column < kActionColumn;
                 column = (column / kTabWidth + 1) * kTabWidth) {
                rendered += L'\t';
            }
            break;
        case Kind::kMore:
            rendered.assign(kActionColumn, L' ');
            break;
    }
    return rendered.append(line.text);
}

constexpr std::wstring_view kAboutLines[] = {
    L"         Lumarel v1.5",
    L"",
    L"Written for my own evenings of SNES games.",
    L"Mail: lumarel@example.org",
    L"Home page: https://lumarel.example.org",
    L"",
    L"Member of the Fjordside Retro Users' Group",
    L"https://fjordside-retro.example.org",
    L"Dedicated to my sister, my first player two.",
    L"",
    L"Picture by Mira Solheim",
    L"Thanks to the Snes9x authors for their work,",
    L"and to everyone who sent in a bug report.",
};

static_assert(std::size(kAboutLines) == 13);

// Index of the picture credit among the About lines.
constexpr std::size_t kPictureCreditLine = 10;

}  // namespace

std::wstring KeyboardReferenceText() {
    std::wstring text;
    for (const Line& line : kKeyboardLines) {
        text += Rendered(line);
        text += L"\r\n";
    }
    return text;
}

std::vector<std::wstring> KeyboardReferenceKeys() {
    std::vector<std::wstring> keys;
    for (const Line& line : kKeyboardLines) {
        if (line.kind == Kind::kKey || line.kind == Kind::kTabbedKey) {
            keys.emplace_back(line.key);
        }
    }
    return keys;
}

std::wstring AboutText() {
    std::wstring text;
    for (std::size_t i = 0; i < std::size(kAboutLines); ++i) {
        if (i > 0) {
            text += L'\n';
        }
        text += kAboutLines[i];
    }
    return text;
}

std::wstring AboutPictureCredit() {
    return std::wstring(kAboutLines[kPictureCreditLine]);
}

std::optional<std::wstring> ReadmeCommandLine(const std::wstring& emulatorPath) {
    if (emulatorPath.size() < 11) {
        return std::nullopt;
    }
    const std::size_t lastBackslash = emulatorPath.rfind(L'\\');
    const std::wstring directory =
        lastBackslash == std::wstring::npos ? L"" : emulatorPath.substr(0, lastBackslash + 1);
    return L"notepad " + directory + L"readme.txt";
}

}  // namespace lumarel
