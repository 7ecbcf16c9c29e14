// Code pages of RTF text: the bytes of \'hh escapes and font names decoded by a font's character
// set (through iconv), and Unicode text encoded back for the font table.
#pragma once

#include <QByteArray>
#include <QString>

// The code page of an RTF character set (0 ANSI 1252, 134 GB2312 936, 136 Big5 950, ...); for
// charset 1 (default) and unknown ones, `ansiCodepage`.  Charset 2 (symbol) gives 42.
int HxRtfCodepageOfCharset(int charset, int ansiCodepage);
// The code page of a face's name in the font table: the name is plain text, so a symbol font's
// name is in the ANSI code page (only its text is in the symbol code page).
int HxRtfFaceCodepage(int charset, int ansiCodepage);
// Bytes in a code page as text: code page 42 maps each byte b to U+F000 + b (the symbol font's
// private use area); a code page iconv does not know reads as Latin-1; undecodable bytes become
// U+FFFD.
QString HxRtfDecode(const QByteArray& bytes, int codepage);
// Text in a code page; empty when any character has no code in it (or iconv knows no such page).
QByteArray HxRtfEncode(const QString& text, int codepage);
