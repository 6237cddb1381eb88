// File service: where the program lives and safe whole-file reads/writes.
#pragma once
#include <cstddef>

// The directory of the running executable, with a trailing '/'.
const char* Plat_ProgramDir();
// Turns a game path written with '\' into a '/' path, into `out`.
void Plat_GamePath(const char* in, char* out, size_t outsize);
// Reads at most `max` bytes from the start of the file. Returns the count
// read, or -1 when the file cannot be opened or read (errno says why).
long Plat_ReadFile(const char* path, void* buf, size_t max);
// Writes the file so that a failure never loses the old one: a temporary
// file in the same directory, flushed to disk, then renamed over `path`.
bool Plat_WriteFileAtomic(const char* path, const void* data, size_t size);
// Reads a whole file of at most `max` bytes into a new buffer (free with
// Plat_FreeFile). Null when it cannot be opened or is larger than `max`;
// `*size` then holds -1 for "cannot open" (errno says why), -2 for "too
// large".
unsigned char* Plat_ReadWholeFile(const char* path, long* size, long max);
void Plat_FreeFile(unsigned char* data);
