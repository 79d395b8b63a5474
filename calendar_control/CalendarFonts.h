#pragma once
// The calendar asks for the Windows font families 宋体, 黑体, Arial and
// Arial Black. Where they are not installed, map them to fonts that are, so
// that Chinese text renders and the digits keep a similar look.

// Safe to call more than once; needs a QGuiApplication.
void InstallCalendarFontSubstitutes();
