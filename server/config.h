// The board's settings: one table (config.cpp) gives each its option name,
// default, limits and help line; `quellstorm-board --help` prints it, and a
// settings file (--config FILE, "name = value" lines) is read through it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace board {

struct Config {
    std::string command;  // serve | worker | migrate | admin
    std::vector<std::string> args;  // admin: what to do and to what
    std::string listen;   // HOST:PORT
    std::string db;       // SQLite file or postgresql://...
    std::string web;      // the web build's folder, served under /play/ ("": none found)
    bool webGiven = false;  // named by --web or the settings file (then it must hold the page)
    std::string game;     // the game's program, run to verify
    int64_t verifiers = 0;       // verifier processes at once (0: one per core)
    int64_t jobSeconds = 0;      // wall-clock limit of one verification
    int64_t jobMemoryMb = 0;     // address-space limit of one verification
    int64_t leaseSeconds = 0;    // a claimed job goes back to the queue after this
    int64_t maxUploadKb = 0;     // largest replay accepted
    int64_t queueMax = 0;        // submissions waiting at most (503 past it)
    int64_t submitPerMinute = 0; // submissions per address per minute (0: no limit)
    int64_t submitBurst = 0;     // ... of which at once
    int64_t requestSeconds = 0;  // whole-request deadline
    int64_t httpThreads = 0;     // threads answering requests
    int64_t maxConnections = 0;  // open connections at most
    int64_t perAddress = 0;      // connections one address may hold
    int64_t backlog = 0;         // connections waiting to be accepted
    int64_t boardSize = 0;       // players shown per board on the front page
    int64_t keepRejectedDays = 0; // a rejected file's bytes are deleted after this (0: never)
    std::string accessLog;       // "" none, "-" standard output, or a file
    std::vector<std::string> trustedProxies;  // peers whose X-Forwarded-For is believed
    std::string config;          // the settings file read, if any
    bool quiet = false;
};

// Fills `cfg` from the command line. False, with the message in `error`,
// on a bad line; false with helpShown set for --help and --print-manual,
// whose text (to print on standard output) is in `error`.
bool ParseCommandLine(int argc, char** argv, Config& cfg, std::string& error, bool& helpShown);
std::string DefaultDatabasePath();
// "ADDR" or "ADDR/BITS", IPv4 or IPv6.
bool ValidNetwork(const std::string& net);
// The folder this program was started from, and the program itself.
std::string ProgramDir();
std::string ProgramPath();

}  // namespace board
