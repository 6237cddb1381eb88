#include "sandbox.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/landlock.h>
#include <sched.h>
#include <seccomp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config.h"

extern char** environ;

namespace board {

namespace {

std::string Parent(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string RealPath(const std::string& p) {
    char buf[PATH_MAX];
    return realpath(p.c_str(), buf) ? std::string(buf) : std::string();
}

}  // namespace

std::vector<std::string> GameReadFolders(const std::string& game) {
    std::vector<std::string> out;
    std::string exe = RealPath(game);
    if (exe.empty()) return out;
    std::string here = Parent(exe);
    out.push_back(here);
    std::string share = RealPath(Parent(here) + "/share/quellstorm");
    if (!share.empty()) out.push_back(share);
    return out;
}

pid_t SpawnJailed(const JailPlan& plan, std::string& error) {
    // Everything the child is given is made here, before it exists.
    // This very program, even when an upgrade replaced its file meanwhile.
    std::string self = "/proc/self/exe";
    std::vector<std::string> args = {"quellstorm-board", "jail",
                                     "--dir", plan.dir,
                                     "--memory-mb", std::to_string(plan.memoryMb),
                                     "--cpu-seconds", std::to_string(plan.cpuSeconds),
                                     "--parent", std::to_string(getpid())};
    for (const std::string& r : plan.read) {
        args.push_back("--read");
        args.push_back(r);
    }
    args.push_back("--");
    args.push_back(plan.game);
    args.insert(args.end(), plan.args.begin(), plan.args.end());
    // The game needs no setting of whoever runs the board: only where its
    // home is, and that it has no screen or sound.
    std::vector<std::string> env = {"HOME=" + plan.dir,         "XDG_CONFIG_HOME=" + plan.dir,
                                    "XDG_DATA_HOME=" + plan.dir, "XDG_CACHE_HOME=" + plan.dir + "/.cache",
                                    "SDL_VIDEODRIVER=dummy",     "SDL_AUDIODRIVER=dummy",
                                    "PATH=/usr/bin:/bin",        "LC_ALL=C.UTF-8"};
    // A sanitizer build's own settings go through; its leak check cannot
    // work in here (it needs a process of its own and ptrace).
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* v = getenv(name)) env.push_back(std::string(name) + "=" + v);
#if defined(__SANITIZE_ADDRESS__)
    if (!getenv("ASAN_OPTIONS")) env.push_back("ASAN_OPTIONS=detect_leaks=0");
#endif
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&files);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, plan.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    int e = posix_spawn(&pid, self.c_str(), &files, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    if (e != 0) {
        error = std::string("cannot start the verifier's sandbox (") + self + "): " + strerror(e);
        return -1;
    }
    return pid;
}

// ---- the child ----

namespace {

[[noreturn]] void Fail(const char* what, int err) {
    fprintf(stderr, "quellstorm-board jail: %s: %s\n", what, strerror(err));
    _exit(kJailFailed);
}

void Limit(int resource, rlim_t value) {
    rlimit r{value, value};
    if (setrlimit(resource, &r) != 0) Fail("cannot set a limit", errno);
}

// The user the game runs as when the board is root: one no account has,
// one per verifier process (its processes count against its own limit).
constexpr uid_t kJailUidBase = 2100000000;

// Landlock: reading the given folders, writing only `dir`. The ABI's
// version decides which rights it knows.
constexpr uint64_t kFsRead = LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR;
constexpr uint64_t kFsV1 = (1ULL << 13) - 1;  // every right of the first version
constexpr uint64_t kFsRefer = 1ULL << 13, kFsTruncate = 1ULL << 14, kFsIoctlDev = 1ULL << 15;

int Landlock(const std::string& dir, const std::vector<std::string>& read, std::string& said) {
    long abi = syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 1) {
        said = "no Landlock (" + std::string(strerror(errno)) + "): the game can read what its user can";
        return 0;
    }
    uint64_t handled = kFsV1 | (abi >= 2 ? kFsRefer : 0) | (abi >= 3 ? kFsTruncate : 0) | (abi >= 5 ? kFsIoctlDev : 0);
    struct {
        uint64_t fs;
    } attr{handled};
    int rs = int(syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0));
    if (rs < 0) Fail("cannot make a Landlock rule set", errno);
    auto allow = [&](const std::string& path, uint64_t rights) {
        int fd = open(path.c_str(), O_PATH | O_CLOEXEC);
        if (fd < 0) return;  // not on this system
        struct stat st;
        if (fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode))
            rights &= LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_READ_FILE |
                      kFsTruncate | kFsIoctlDev;
        landlock_path_beneath_attr rule{};
        rule.allowed_access = rights & handled;
        rule.parent_fd = fd;
        if (syscall(SYS_landlock_add_rule, rs, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) != 0) Fail("cannot add a Landlock rule", errno);
        close(fd);
    };
    for (const char* sys : {"/usr", "/lib", "/lib64", "/bin", "/etc"}) allow(sys, kFsRead);
    for (const std::string& r : read) allow(r, kFsRead);
    // Its own /proc entry only (this process keeps its number through the
    // exec): the C library and sanitizers read their own maps there, and
    // no other process's (the board's environment) is in reach.
    allow("/proc/self", LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR);
    allow("/dev/null", LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_WRITE_FILE);
    allow("/dev/urandom", LANDLOCK_ACCESS_FS_READ_FILE);
    allow(dir, handled & ~LANDLOCK_ACCESS_FS_EXECUTE);
    if (syscall(SYS_landlock_restrict_self, rs, 0) != 0) Fail("cannot enter the Landlock rule set", errno);
    close(rs);
    said = "Landlock (version " + std::to_string(abi) + "): reads the system's and the game's files, writes its folder only";
    return int(abi);
}

// The system calls a headless game makes, and nothing else: any other
// fails with EPERM.
void Seccomp() {
    scmp_filter_ctx ctx = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (!ctx) Fail("cannot make the seccomp filter", ENOMEM);
    static const char* const allowed[] = {
        "read", "write", "readv", "writev", "pread64", "pwrite64", "preadv", "pwritev", "open", "openat", "close",
        "close_range", "fstat", "stat", "lstat", "newfstatat", "statx", "lseek", "access", "faccessat", "faccessat2",
        "readlink", "readlinkat", "getcwd", "chdir", "fchdir", "fcntl", "dup", "dup2", "dup3", "pipe", "pipe2",
        "getdents64", "mkdir", "mkdirat", "rename", "renameat", "renameat2", "unlink", "unlinkat", "rmdir", "fchmod",
        "chmod", "fchmodat", "ftruncate", "fsync", "fdatasync", "fadvise64", "fstatfs", "statfs", "flock",
        "utimensat", "mmap", "munmap", "mprotect", "mremap", "brk", "madvise", "mlock", "munlock", "mincore",
        "futex", "set_robust_list", "get_robust_list", "rseq", "set_tid_address", "arch_prctl", "membarrier",
        "exit", "exit_group", "rt_sigaction", "rt_sigprocmask", "rt_sigreturn", "sigaltstack", "restart_syscall",
        "nanosleep", "clock_nanosleep", "clock_gettime", "clock_getres", "gettimeofday", "time", "getpid", "gettid",
        "getppid", "getuid", "geteuid", "getgid", "getegid", "getresuid", "getresgid", "getgroups", "getrandom",
        "uname", "sysinfo", "getrusage", "times", "sched_getaffinity", "sched_yield", "sched_getparam",
        "sched_getscheduler", "getpriority", "setpriority", "poll", "ppoll", "select", "pselect6", "epoll_create1",
        "epoll_ctl", "epoll_wait", "epoll_pwait", "eventfd2",
        "execve",  // this program's own step into the game
    };
    int bad = 0;
    for (const char* name : allowed) {
        int nr = seccomp_syscall_resolve_name(name);
        if (nr == __NR_SCMP_ERROR) continue;  // not on this architecture
        if (seccomp_rule_add(ctx, SCMP_ACT_ALLOW, nr, 0) != 0) ++bad;
    }
    // Threads, never processes.
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                            SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD));
    // clone3's flags are in memory, out of the filter's sight: the C
    // library falls back to clone when told it is missing.
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0);
    // Signals to its own threads only (raise, abort).
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, uint64_t(getpid())));
    // Its own limits: read, or lowered (each hard limit equals its soft
    // one, and raising a hard limit takes a capability it has not).
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1, SCMP_A0(SCMP_CMP_EQ, 0));
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(getrlimit), 0);
    bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(setrlimit), 0);
    for (unsigned long op : {TCGETS, FIONREAD, FIONBIO})
        bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(ioctl), 1, SCMP_A1(SCMP_CMP_MASKED_EQ, 0xffffffffu, op));
    for (int op : {PR_SET_NAME, PR_GET_NAME, PR_CAPBSET_READ})
        bad |= seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1, SCMP_A0(SCMP_CMP_EQ, uint64_t(op)));
    if (bad) Fail("cannot add a seccomp rule", EINVAL);
    int e = seccomp_load(ctx);
    if (e != 0) Fail("cannot load the seccomp filter", -e);
    seccomp_release(ctx);
}

}  // namespace

int JailMain(int argc, char** argv) {
    std::string dir;
    int64_t memoryMb = 0, cpuSeconds = 60;
    pid_t parent = 0;
    std::vector<std::string> read;
    int i = 2;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) Fail("bad arguments", EINVAL);
        std::string v = argv[++i];
        if (a == "--dir") dir = v;
        else if (a == "--memory-mb") memoryMb = atoll(v.c_str());
        else if (a == "--cpu-seconds") cpuSeconds = atoll(v.c_str());
        else if (a == "--parent") parent = pid_t(atoll(v.c_str()));
        else if (a == "--read") read.push_back(v);
        else Fail("bad arguments", EINVAL);
    }
    if (i >= argc || dir.empty() || dir[0] != '/') Fail("bad arguments", EINVAL);
    char** gameArgv = argv + i;
    std::string said;
    bool ownUser = false;

    umask(077);
    Limit(RLIMIT_CORE, 0);
    if (memoryMb > 0) Limit(RLIMIT_AS, rlim_t(memoryMb) << 20);
    Limit(RLIMIT_CPU, rlim_t(cpuSeconds));
    Limit(RLIMIT_FSIZE, rlim_t(16) << 20);  // a result, a log, the home's few files
    Limit(RLIMIT_NOFILE, 64);

    if (geteuid() == 0) {
        // A network of its own, with nothing in it, and a user of its own.
        if (unshare(CLONE_NEWNET | CLONE_NEWIPC) != 0) Fail("cannot make a network namespace", errno);
        uid_t uid = kJailUidBase + uid_t(getpid() % 1000000);
        if (chown(dir.c_str(), uid, uid) != 0) Fail("cannot give the job folder to its user", errno);
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d)) {
                if (e->d_name[0] == '.') continue;
                if (fchownat(dirfd(d), e->d_name, uid, uid, AT_SYMLINK_NOFOLLOW) != 0)
                    Fail("cannot give the job's files to its user", errno);
            }
            closedir(d);
        }
        if (setgroups(0, nullptr) != 0 || setresgid(uid, uid, uid) != 0 || setresuid(uid, uid, uid) != 0)
            Fail("cannot become the job's own user", errno);
        Limit(RLIMIT_NPROC, 64);
        ownUser = true;
        said = "own user " + std::to_string(uid) + ", no network (a namespace of its own)";
    } else if (unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0) {
        said = "the board's user, no network (a namespace of its own)";
    } else {
        said = "the board's user, no network (seccomp: no sockets; no user namespaces here: " +
               std::string(strerror(errno)) + ")";
    }
    // Dies with the verifier that started it (set after the user changed,
    // which clears it), unless that one is gone already.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) Fail("cannot tie it to its verifier", errno);
    if (parent && getppid() != parent) Fail("its verifier is gone", ESRCH);
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) Fail("cannot set no_new_privs", errno);
    std::string landlock;
    Landlock(dir, read, landlock);
    if (chdir(dir.c_str()) != 0) Fail("cannot enter the job folder", errno);
    fprintf(stderr, "quellstorm-board sandbox: %s; %s; seccomp allowlist; limits: %lld MB memory, %lld s processor, "
            "16 MB a file, 64 files%s\n",
            said.c_str(), landlock.c_str(), (long long)memoryMb, (long long)cpuSeconds, ownUser ? ", 64 processes" : "");
    fflush(stderr);
    Seccomp();
    execve(gameArgv[0], gameArgv, environ);
    fprintf(stderr, "quellstorm-board jail: cannot run %s: %s\n", gameArgv[0], strerror(errno));
    _exit(127);
}

}  // namespace board
