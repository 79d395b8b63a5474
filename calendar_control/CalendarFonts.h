#pragma once
// The windows ask for the Windows font families 宋体, 微软雅黑, 黑体, Arial and
// Arial Black. Where they are not installed, map them to fonts that are, so
// that Chinese text never renders as boxes and the digits keep a similar
// look. Text that asks for no particular family gets a Chinese-capable font too.

// Safe to call more than once; needs a QGuiApplication.
void InstallWindowsFontSubstitutes();
