// Element handles and the framework's element messages. The numbers are fixed:
// applications bind them with ExElement::BindEvent.
#pragma once

#include <cstdint>

// Names an element for its whole life: stable, pointer-sized, 0 = none. Also
// the identifier of the element's window timer.
using ExHandle = std::uintptr_t;

constexpr unsigned EXM_SETFOCUS = 10240;    // lParam: the element that lost the focus
constexpr unsigned EXM_KILLFOCUS = 10241;   // lParam: the element that gains it
constexpr unsigned EXM_MOUSEENTER = 10242;  // lParam: the element the pointer left
constexpr unsigned EXM_MOUSELEAVE = 10243;  // lParam: the element the pointer entered
constexpr unsigned EXM_CLICK = 10244;       // left press and release on the same element
constexpr unsigned EXM_SIZE = 10245;        // wParam width, lParam height
constexpr unsigned EXM_HIDE = 10246;
constexpr unsigned EXM_SHOW = 10247;
constexpr unsigned EXM_CUSTOMDRAW = 10248;     // lParam: ExDrawRecord*; below 1 = draw as usual
constexpr unsigned EXM_WANTPRESS = 10250;      // not -1: a non-interactive element takes the press
constexpr unsigned EXM_HOSTNOTIFY = 10251;     // to the host: a control notification
constexpr unsigned EXM_PRESENT = 10253;        // to the host: push the canvas to the screen
constexpr unsigned EXM_DRAWSDISABLED = 10254;  // -1: draw at half opacity while disabled
constexpr unsigned EXM_INVALIDATE = 10256;     // to the host: lParam the element to recompose
constexpr unsigned EXM_MOVED = 10257;          // wParam the element, lParam 1 = recompose both places
constexpr unsigned EXM_POSTED = 10258;         // to the host: wParam the element, lParam ExPostedMessage*
constexpr unsigned EXM_QUERYFOCUS = 10260;     // 1 focused look, 0 not, -1 ask the host
constexpr unsigned EXM_OPACITY = 10261;        // lParam: the new opacity
constexpr unsigned EXM_DESTROY = 10264;

// wParam of the second left press of a double click.
constexpr unsigned EXM_DBLCLK_MARK = 10086;

// Result of a class procedure or hook that leaves the decision to the caller.
constexpr long kExUndecided = -1;
