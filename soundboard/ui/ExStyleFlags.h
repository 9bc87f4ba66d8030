// Style flags of a host: which caption parts it draws.
#pragma once

constexpr unsigned kExWindowIcon = 1;
constexpr unsigned kExTitleText = 2;
constexpr unsigned kExCloseButton = 4;
constexpr unsigned kExMaximiseButton = 8;
constexpr unsigned kExMinimiseButton = 16;
// Set on every attached host; also, given to attach, asks for the default set.
constexpr unsigned kExAttached = 512;
constexpr unsigned kExDefaultCaption = 1024;
constexpr unsigned kExCaptionFlags =
    kExWindowIcon | kExTitleText | kExCloseButton | kExMaximiseButton | kExMinimiseButton;
