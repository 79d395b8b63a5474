#pragma once
// Qt's own texts in Chinese: the standard dialogs (save, font, colour) and
// the buttons of message boxes (是, 否, 确定) speak the notebook's language
// whatever the desktop's locale.

namespace qn {

// Installs Qt's catalogue qtbase_zh_CN (Debian: qt6-translations-l10n), the
// few texts of the standard dialogs it lacks in this Qt version, and Chinese
// as the default locale (file types in the file dialog). Call once, after the
// application object exists. False when the catalogue was not found: the
// dialogs then stay in English.
bool UseChineseForQtTexts();

}  // namespace qn
