// What a person sees of the run button, read off the screen: the real Lumarel started at 96
// and at 192 dpi and in a high-contrast colour scheme, each set in the Wine prefix's registry
// for the Lumarel it starts. The picture on the screen has the size drawn for the dpi, and
// around the drawing the button's own face shows, pixel for pixel.
//
// These tests change what every program started meanwhile sees, so CTest runs them alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/e2e/world.h"
#include "ui/main/main_layout.h"

namespace lumarel {
namespace {

using namespace e2e;

// A value of the current user's registry, set for as long as this object lives and then put
// back as it was.
class RegistryValue {
public:
    RegistryValue(std::wstring key, std::wstring name, DWORD type, std::vector<BYTE> data)
        : key_(std::move(key)), name_(std::move(name)) {
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &oldType_, nullptr, &size) == ERROR_SUCCESS) {
            old_.emplace(size);
            RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &oldType_, old_->data(), &size);
        }
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), type, data.data(),
                               static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }
    ~RegistryValue() {
        if (old_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), oldType_, old_->data(),
                            static_cast<DWORD>(old_->size()));
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
        }
    }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;
    bool IsSet() const { return set_; }

private:
    std::wstring key_, name_;
    DWORD oldType_ = REG_NONE;
    std::optional<std::vector<BYTE>> old_;
    bool set_ = false;
};

struct Setting {
    std::wstring key, name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> TextBytes(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {bytes, bytes + (text.size() + 1) * sizeof(wchar_t)};
}

Setting Dpi(DWORD dpi) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&dpi);
    return {L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, {bytes, bytes + sizeof(dpi)}};
}

// The string values of the high-contrast scheme that make screenshots uses.
std::vector<Setting> HighContrastScheme() {
    std::ifstream file(std::filesystem::path(WindowsPath(HIGH_CONTRAST_REG)));
    std::vector<Setting> settings;
    std::wstring key;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::wstring text(line.begin(), line.end());  // the file is ASCII
        const std::wstring root = L"[HKEY_CURRENT_USER\\";
        if (text.rfind(root, 0) == 0 && text.back() == L']') {
            key = text.substr(root.size(), text.size() - root.size() - 1);
        } else if (const auto equals = text.find(L"\"=\"");
                   text.rfind(L"\"", 0) == 0 && equals != std::wstring::npos) {
            settings.push_back({key, text.substr(1, equals - 1), REG_SZ,
                                TextBytes(text.substr(equals + 3, text.size() - equals - 4))});
        }
    }
    return settings;
}

COLORREF SchemeColour(const std::vector<Setting>& scheme, const std::wstring& name) {
    for (const Setting& setting : scheme) {
        if (setting.name == name) {
            std::wistringstream rgb(reinterpret_cast<const wchar_t*>(setting.data.data()));
            int r = 0, g = 0, b = 0;
            rgb >> r >> g >> b;
            return RGB(r, g, b);
        }
    }
    return CLR_INVALID;
}

// A rectangle of the screen, pixel by pixel, as a person sees it.
struct ScreenShot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const ScreenShot&) const = default;
};

ScreenShot Capture(const RECT& rect) {
    ScreenShot shot{rect.right - rect.left, rect.bottom - rect.top};
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* bgrx = static_cast<const BYTE*>(bits);
        for (int i = 0; i < shot.width * shot.height; ++i) {
            shot.pixels.push_back(RGB(bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// The rectangle once two captures in a row agree: the window has finished painting.
ScreenShot SettledCapture(const RECT& rect) {
    ScreenShot previous = Capture(rect);
    ScreenShot now;
    WaitUntil(
        [&] {
            now = Capture(rect);
            const bool same = now == previous;
            previous = now;
            return same;
        },
        5s);
    return now;
}

// The run button's picture as Lumarel's resources hold it: colour and straight alpha.
struct Picture {
    int width = 0, height = 0;
    std::vector<BYTE> bgra;
    BYTE Alpha(int x, int y) const { return bgra[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
    // The colour a person sees where the picture lies over the face.
    COLORREF Over(COLORREF face, int x, int y) const {
        const BYTE* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        const auto mix = [&](BYTE colour, BYTE under) {
            return static_cast<BYTE>((colour * p[3] + under * (255 - p[3]) + 127) / 255);
        };
        return RGB(mix(p[2], GetRValue(face)), mix(p[1], GetGValue(face)),
                   mix(p[0], GetBValue(face)));
    }
};

Picture RunPicture(int resource) {
    Picture picture;
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib)) {
        picture.width = dib.dsBm.bmWidth;
        picture.height = dib.dsBm.bmHeight;
        for (int y = 0; y < picture.height; ++y) {
            const int row = dib.dsBmih.biHeight > 0 ? picture.height - 1 - y : y;
            const auto* bits =
                static_cast<const BYTE*>(dib.dsBm.bmBits) + row * dib.dsBm.bmWidthBytes;
            picture.bgra.insert(picture.bgra.end(), bits, bits + picture.width * 4);
        }
    }
    DeleteObject(bitmap);
    return picture;
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
    }
};

using ScreenTest = World;

TEST_F(ScreenTest, RunButtonPictureHasTheSizeOfItsScaleOnTheButtonsOwnFace) {
    const std::vector<Setting> highContrast = HighContrastScheme();
    ASSERT_FALSE(highContrast.empty()) << HIGH_CONTRAST_REG;
    struct Case {
        const char* name;
        DWORD dpi;
        bool highContrast;
        int picture;  // the one drawn for that dpi
    };
    const Case cases[] = {
        {"96 dpi", 96, false, IDB_GO_BUTTON},
        {"192 dpi", 192, false, IDB_GO_BUTTON_200},
        {"high contrast", 96, true, IDB_GO_BUTTON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<RegistryValue>> settings;
        settings.push_back(std::make_unique<RegistryValue>(Dpi(c.dpi).key, Dpi(c.dpi).name,
                                                           REG_DWORD, Dpi(c.dpi).data));
        for (const Setting& s : c.highContrast ? highContrast : std::vector<Setting>{}) {
            settings.push_back(std::make_unique<RegistryValue>(s.key, s.name, s.type, s.data));
        }
        for (const auto& setting : settings) {
            ASSERT_TRUE(setting->IsSet());
        }

        HWND main = StartLumarel();
        ASSERT_NE(main, nullptr) << "no main window within 30 s";
        // As a person looks at it: the pointer elsewhere, the focus on another control.
        SetCursorPos(0, 0);
        HWND button = GetDlgItem(main, Go_Button);
        PostKey(button, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main) != button; }, 10s));
        RECT rect{};
        GetWindowRect(button, &rect);
        const Picture picture = RunPicture(c.picture);
        ASSERT_GT(picture.width, 0);

        // What a capture shows: pixels off the face around the drawing, and the box the
        // drawing covers on the screen against the box it covers in the picture.
        struct Look {
            long stray = LONG_MAX;
            Box seen, drawn;
            bool Right() const {
                return stray == 0 &&
                       std::abs((seen.right - seen.left) - (drawn.right - drawn.left)) <= 1 &&
                       std::abs((seen.bottom - seen.top) - (drawn.bottom - drawn.top)) <= 1;
            }
        };
        const auto lookAt = [&](const ScreenShot& shot) {
            // The picture sits in the middle of the button, within a pixel of it.
            const int centredX = (shot.width - picture.width) / 2;
            const int centredY = (shot.height - picture.height) / 2;
            // Beside the picture: the button's face, inside its one-pixel themed edge. In high
            // contrast there is no theme, and a classic button's face is the scheme's colour.
            const COLORREF face = c.highContrast ? SchemeColour(highContrast, L"ButtonFace")
                                                 : shot.At(centredX - 1, shot.height / 2);
            // The border is no part of the face: two pixels at 100 %.
            const int border = static_cast<int>(2 * c.dpi / 96);
            const auto onFace = [&](int x, int y) {
                return x >= border && y >= border && x < shot.width - border &&
                       y < shot.height - border;
            };
            Look look;
            for (int y = 0; y < shot.height; ++y) {
                for (int x = 0; x < shot.width; ++x) {
                    if (onFace(x, y) && shot.At(x, y) != face) {
                        look.seen.Add(x, y);
                    }
                }
            }
            // Where the drawing lies the face shows through nowhere else: of the placings
            // within a pixel of the middle, the one that leaves fewest pixels of another colour
            // around it.
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    long stray = 0;
                    Box expected;
                    for (int y = 0; y < picture.height; ++y) {
                        for (int x = 0; x < picture.width; ++x) {
                            const int sx = centredX + dx + x, sy = centredY + dy + y;
                            if (!onFace(sx, sy)) {
                                continue;
                            }
                            if (picture.Over(face, x, y) != face) {
                                expected.Add(sx, sy);
                            }
                            stray += picture.Alpha(x, y) == 0 && shot.At(sx, sy) != face ? 1 : 0;
                        }
                    }
                    if (stray < look.stray) {
                        look.stray = stray;
                        look.drawn = expected;
                    }
                }
            }
            return look;
        };
        // A busy machine may show the screen between two paints for longer than two captures
        // take, so the screen is read until it shows the picture right, for ten seconds at most;
        // what the last capture showed is what is judged.
        Look look;
        WaitUntil([&] { return (look = lookAt(SettledCapture(rect))).Right(); }, 10s);
        EXPECT_EQ(look.stray, 0) << "pixels around the drawing that are not the button's face";
        EXPECT_NEAR(look.seen.right - look.seen.left, look.drawn.right - look.drawn.left, 1)
            << "wide on the screen";
        EXPECT_NEAR(look.seen.bottom - look.seen.top, look.drawn.bottom - look.drawn.top, 1)
            << "high on the screen";
        if (!look.Right()) {
            // The window in front at the button's middle, should another one cover it.
            const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            HWND front = GetAncestor(WindowFromPoint(middle), GA_ROOT);
            wchar_t title[128] = L"";
            GetWindowTextW(front, title, 128);
            DWORD owner = 0;
            GetWindowThreadProcessId(front, &owner);
            ADD_FAILURE() << "in front of the button: "
                          << (front == main ? "Lumarel's main window" : "another window") << " \""
                          << Ascii(title) << "\" of process " << owner << " (Lumarel is "
                          << lumarel.Id() << ")";
        }
        lumarel.Kill();
    }
}

}  // namespace
}  // namespace lumarel
