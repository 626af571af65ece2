// Opening files as the text-file primitives need them; binary streams, since the
// text-mode byte rules are applied by our own code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace talvoric {

// "r": an existing, regular file only (a folder or an empty path fails). Null on failure.
std::FILE* OpenForReading(const std::string& path);

// "w+" (truncate or create) or "a+" (create or keep; a last byte 0x1A is removed as the
// file opens; the stream is positioned at the end). Null on failure.
std::FILE* OpenForWriting(const std::string& path, bool append);

// Makes the written bytes durable before a rename publishes them.
bool FlushToDisk(std::FILE* f);

// Puts the file `from` in place of `to` in one step, replacing it when it exists
// (rename; MoveFileExA with MOVEFILE_REPLACE_EXISTING on Windows).
bool ReplaceFileWith(const std::string& from, const std::string& to);

// The size in bytes of a file that can be opened for reading (other writers and readers
// allowed), learnt from the open file without reading it. None for a folder, a path
// that cannot be opened, or something that is not a plain file.
std::optional<std::int64_t> OpenedFileSize(const std::string& path);

// Removes the files whose names are `prefix` followed by anything, in the folder that
// `prefix` names, when they were last written more than `ageSeconds` ago. For the
// temporary files of settings writers that were killed before their rename.
void RemoveStaleFiles(const std::string& prefix, long ageSeconds);

// This process's id, to keep temporary names of concurrent processes apart.
unsigned long ProcessId();

}  // namespace talvoric
