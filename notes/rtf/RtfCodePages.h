#pragma once
// Code pages of the RTF stream: GBK (936) and Western (1252) through tables
// built once from the system converters, other code pages through a decoder.

#include <cstdint>
#include <QByteArray>
#include <QString>

namespace qn::rtf {

inline constexpr int GbkCodePage = 936;
inline constexpr int WesternCodePage = 1252;

// Windows code page of a font character set (\fcharsetN); 1 (default) and
// unknown sets use the document's code page.
int CodePageOfCharset(int charset, int documentCodePage);

// The character set a family gets when none is stored with the text:
// Chinese fonts (and the unnamed box font) 134, others 0.
int DefaultCharsetOfFamily(const QString& family);

// GBK bytes of a BMP character: 0 when GBK has no round-tripping form,
// a value below 0x100 for a single byte, otherwise lead << 8 | trail.
uint16_t GbkEncode(char16_t c);

// The same as a table of 65536 entries, for loops over long texts.
const uint16_t* GbkEncodeTable();

// The 1252 byte of a character, 0 when there is none (ASCII included,
// the caller writes that as it is).
uint8_t WesternEncode(char16_t c);

// Appends the decoded bytes to `out`. Bytes that do not form a character
// become U+FFFD; a double-byte lead at the very end becomes U+FFFD too.
void DecodeBytes(int codePage, const char* data, qsizetype size, QString& out);

}  // namespace qn::rtf
