// File service: where the program lives, safe whole-file reads/writes and
// the folder work of the game's record, settings, replays and pictures.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The directory of the running executable, with a trailing '/'.
const char* Plat_ProgramDir();
// Turns a game path written with '\' into a '/' path, into `out`.
void Plat_GamePath(const char* in, char* out, size_t outsize);
// Reads at most `max` bytes from the start of the file. Returns the count
// read, or -1 when the file cannot be opened.
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

// A folder's entry (the replays page).
struct PlatFolderEntry {
    std::string name;
    long long modified;  // seconds since 1970
    bool file;           // a regular file
};
// The folder's entries, "." and ".." left out. False when it cannot be read.
bool Plat_ListFolder(const char* dir, std::vector<PlatFolderEntry>* out);
// Moves a file within one file system (false, errno set, when it cannot).
bool Plat_MoveFile(const char* from, const char* to);
bool Plat_RemoveFile(const char* path);
// Whether anything is at `path`; a regular file (links followed); a folder.
bool Plat_Exists(const std::string& path);
bool Plat_IsFile(const std::string& path);
bool Plat_IsDir(const std::string& path);
// Whether the file can be read; whether files can be made in the folder
// (as this user, not by the permission bits alone).
bool Plat_CanRead(const std::string& path);
bool Plat_CanWriteDir(const std::string& dir);
// Makes the folder and every missing parent, each new one private to the
// user (0700). True when `dir` is a folder afterwards.
bool Plat_MakeDirs(const std::string& dir);
// The names in a folder ("." and ".." left out); empty when it cannot be
// read.
std::vector<std::string> Plat_ListDir(const std::string& dir);
// `dir` ending in '/' (an empty one becomes "/").
std::string Plat_WithSlash(std::string dir);
// The first of `base` + `ext`, `base` + "-2" + `ext` ... `base` + "-N" +
// `ext` (N below `limit`) not yet in `dir` (which ends in '/'); the last
// tried when all are taken. The name only, without the folder.
std::string Plat_FreeName(const std::string& dir, const std::string& base, const std::string& ext, int limit);
// The local time now, as strftime's `format` writes it.
std::string Plat_LocalStamp(const char* format);
// The user's home folder with its '/': HOME when absolute, else the
// account's, else "/tmp/".
std::string Plat_UserHome();
