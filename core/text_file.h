// Every file is read and written through these, by the text-mode byte rules:
// reading drops the CR of each CR LF pair and stops at the first 0x1A; writing turns
// each LF into CR LF and never writes a zero byte; appending first removes one 0x1A
// that ends the file. Our own code over binary streams, the same on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvoric {

// What a failed open for reading reports. The window program writes the alert byte 0x07
// to standard output (the default); the command-line program must keep standard output
// clean and installs its own (silent, or a message on standard error).
using OpenFailureHandler = void (*)(const std::string& path);
void SetOpenFailureHandler(OpenFailureHandler handler);
void WriteAlertByte(const std::string& path);  // the default handler

// 0 when the file cannot be opened for reading, otherwise 1 + the bytes reading delivers.
// Files too long for a signed 32-bit count give INT32_MAX.
std::int32_t CountTextFile(const std::string& path);

// Stores at most capacity - 1 delivered bytes and a zero byte; 0 on success, 1 when the
// file cannot be opened (the buffer untouched).
std::int32_t ReadTextFileInto(const std::string& path, char* buffer, std::int32_t capacity);

// The delivered bytes (which may hold zero bytes; the content is what precedes the
// first one), or none when the file cannot be opened or memory runs out.
std::optional<std::string> ReadTextFile(const std::string& path);

// At most `limit` delivered bytes from the start, stopping early at the first zero byte
// (not included). None when the file cannot be opened. For the target file, of which
// generation uses only as much as it generates.
std::optional<std::string> ReadTextFilePrefix(const std::string& path, std::size_t limit);

// "w+" and "a+" with the writing rules; the text is written up to its first zero byte.
// A file that cannot be opened for writing receives nothing; both always return 0.
std::int32_t WriteTextFile(const std::string& path, std::string_view text);
std::int32_t AppendTextFile(const std::string& path, std::string_view text);

// "w+" for the settings files, in one step: the bytes go to a temporary file in the same
// folder, which then replaces the old file. A write that fails part-way (disk full,
// read-only folder, the path is a folder) leaves the previous file exactly as it was.
// True when the new content is in place.
bool ReplaceTextFile(const std::string& path, std::string_view text);

// Whether a file can be opened for reading at all (no alert, nothing read).
bool CanOpenForReading(const std::string& path);

// The byte rules on their own, for callers that hold bytes rather than files.
std::string TextModeDecode(std::string_view fileBytes);  // what reading delivers
std::string TextModeEncode(std::string_view text);       // what writing stores

// The part of `bytes` before the first zero byte: a file's content.
std::string_view ContentOf(std::string_view bytes);

}  // namespace talvoric
