// The few services that differ between Windows and elsewhere. Windows: platform_win.cpp,
// elsewhere: platform_posix.cpp; CMake picks one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvoric {

// The running executable's full path in the ANSI code page; none when it cannot be had.
std::optional<std::string> ExecutablePath();

// The separator between folder names in a path ('\\' on Windows, '/' elsewhere).
char PathSeparator();

// Whether byte b begins a two-byte character in the ANSI code page of the system
// (code page 932 on the systems we are made for). Elsewhere the code page is UTF-8,
// which has no byte that can be mistaken for an ASCII separator, so this is false.
bool IsAnsiLeadByte(unsigned char b);

// UTF-16 text (up to its first zero unit) to the thread's ANSI code page; none when the
// conversion fails. Characters the code page lacks become its default character.
// Elsewhere the ANSI code page is UTF-8.
std::optional<std::string> ToAnsi(std::u16string_view text);

// The reverse, for putting ANSI text into the windowing platform's controls.
std::optional<std::u16string> FromAnsi(std::string_view text);

// Standard output carries bytes exactly as written (no LF to CR LF on Windows).
void SetBinaryStandardOutput();

// The calendar clock in whole seconds since 1970-01-01 00:00:00 UTC, modulo 2^32.
unsigned int ClockSeconds();

}  // namespace talvoric
