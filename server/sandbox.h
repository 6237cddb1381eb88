// The verifier's child: the game re-playing an untrusted file, in a sandbox.
//
// The board starts it with posix_spawn (nothing runs between the fork and
// the exec in a process full of threads): its argument list and environment
// are built beforehand, its signal mask is empty and every handler the
// default, it holds standard input (/dev/null) and its log as standard
// output and error, and no other descriptor. What it starts is this same
// program as `quellstorm-board jail ...`, a fresh single-threaded process
// that closes the sandbox around itself and then executes the game:
//   - limits on memory, processor time, file size, open files (and, with a
//     user of its own, processes); no core files;
//   - when the board runs as root: a user of its own (no one's), and a
//     network namespace of its own (no network at all);
//   - no_new_privs; dies with the verifier that started it;
//   - Landlock: it reads only the system's libraries and settings and the
//     game's own files, and writes only in its job folder;
//   - a seccomp allowlist (libseccomp): no sockets, no new processes (threads
//     only), no signals to other processes, no ptrace, no other system call
//     than the game needs.
// What the host cannot give is left out and said at start.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace board {

struct JailPlan {
    std::string game;               // the program to run
    std::vector<std::string> args;  // its arguments (without argv[0])
    std::string dir;                // its folder: the only place it writes
    std::string log;                // its standard output and error
    int64_t memoryMb = 0;           // address space (0: none)
    int64_t cpuSeconds = 0;
    std::vector<std::string> read;  // folders it may read (beside the system's)
};

// Starts the game in its sandbox; the child's pid (its own process group),
// or -1 with the reason in `error`.
pid_t SpawnJailed(const JailPlan& plan, std::string& error);

// `quellstorm-board jail ...`: closes the sandbox and executes the game.
// Returns only on failure (the exit status: 125 the sandbox could not be
// made, 127 the game could not be executed).
int JailMain(int argc, char** argv);

// The exit status of a child whose sandbox could not be made.
constexpr int kJailFailed = 125;

// The folders the game reads its own files from (its program's folder and
// the installed data beside it).
std::vector<std::string> GameReadFolders(const std::string& game);

}  // namespace board
