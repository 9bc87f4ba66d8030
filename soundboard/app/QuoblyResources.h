// Resource numbers of the soundboard's embedded pictures (soundboard/app/
// Quobly.rc, made by tools/make-soundboard-art.py). Shared by the resource
// script and the code, so it holds plain macros only.
#pragma once

// The framework loads the program icon by this number.
#define IDI_QUOBLY 129

// PNG pictures, of the custom resource type "PNG".
#define IDR_SKIN 201      // 540 x 400, stretched behind the main window
#define IDR_TAB_HOST 202  // 20 x 23 tab icons, one per category
#define IDR_TAB_SHOUT 203
#define IDR_TAB_COMIC 204
#define IDR_DROP_BUTTON 205     // 40 x 26, the combo box's drop button
#define IDR_TITLE_CLOSE 206     // 135 x 26 strip: step 34, cut 33 x 26
#define IDR_TITLE_MINIMISE 207  // 103 x 26 strip: step 26, cut 33 x 26
#define IDR_TITLE_TOPMOST 208   // 115 x 26 strip: step 29, cut 33 x 26
