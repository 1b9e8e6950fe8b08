#pragma once
// A window's wiring: which named handler each notification of its controls and each of its
// menu items runs. One table per window, beside its control table, so that a reader finds in
// one place what a click does; the window base looks every notification up in it.

#include <windows.h>

#include <span>
#include <type_traits>

namespace lumarel {

class WindowBase;

// A menu item chosen, or a command the keyboard gives the window itself (IDOK for Enter and
// IDCANCEL for Esc where no button answers): nothing sends it but the window's own menu or
// keyboard handling.
inline constexpr int kChosen = -1;

struct Wire {
    // A control's identifier with its notification code (BN_CLICKED, EN_KILLFOCUS, one of
    // Lumarel's own from decoding_control.h), or a menu item's or command's with kChosen.
    template <typename Source>
    requires std::is_integral_v<Source> || std::is_enum_v<Source>
    constexpr Wire(Source from, int code, void (*handler)(WindowBase&, int))
        : source(static_cast<int>(from)), notification(code), run(handler) {}

    int source;
    int notification;
    void (*run)(WindowBase& window, int source);
};

using Wiring = std::span<const Wire>;

namespace wiring_detail {
template <typename>
struct WindowOf;
template <typename Window, typename Function>
struct WindowOf<Function Window::*> {
    using type = Window;
};
}  // namespace wiring_detail

// A named handler as a wire's run: a member without arguments, or one told which control
// sent the notification (ten boxes may share one handler).
template <auto Handler>
void Run(WindowBase& window, int source) {
    using Window = typename wiring_detail::WindowOf<decltype(Handler)>::type;
    auto& own = static_cast<Window&>(window);
    if constexpr (std::is_invocable_v<decltype(Handler), Window&, int>) {
        (own.*Handler)(source);
    } else {
        (own.*Handler)();
    }
}

}  // namespace lumarel
