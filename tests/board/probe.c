/* A stand-in for the game, given to the board as --game by board_e2e.py: it
 * tries what a replay that took over the game could try, and reports each
 * attempt as its result's message (the board shows it as the reason).
 *
 *   probe --version
 *   probe --headless --home DIR --play FILE --verify ... --result-json OUT
 *
 * FILE holds "QSREPLAY ...", then "port N" (the board's), "db PATH" (the
 * board's database), "outside PATH" (a file to make outside the folder),
 * "mode probe|killed-once|verified", and an end line. Built with -DKILL_FLAG
 * naming a file that, while it exists, makes every run kill itself as the
 * system's out-of-memory killer would. */
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

static char report[4096];

static void say(const char* what, int escaped, int err) {
    char line[256];
    snprintf(line, sizeof line, "%s%s: %s (%s)", report[0] ? "; " : "", what, escaped ? "ESCAPED" : "blocked",
             escaped ? "it worked" : strerror(err));
    strncat(report, line, sizeof report - strlen(report) - 1);
}

static void tryConnect(const char* what, int type, int port) {
    int fd = socket(AF_INET, type, 0);
    if (fd < 0) return say(what, 0, errno);
    struct sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons((unsigned short)port);
    a.sin_addr.s_addr = htonl(0x7f000001);
    int ok = type == SOCK_DGRAM ? sendto(fd, "x", 1, 0, (struct sockaddr*)&a, sizeof a) == 1
                                : connect(fd, (struct sockaddr*)&a, sizeof a) == 0;
    say(what, ok, errno);
    close(fd);
}

int main(int argc, char** argv) {
    const char *play = NULL, *out = NULL;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--version")) {
            puts("quellstorm probe 1");
            return 0;
        }
        if (!strcmp(argv[i], "--play") && i + 1 < argc) play = argv[++i];
        if (!strcmp(argv[i], "--result-json") && i + 1 < argc) out = argv[++i];
    }
    if (!play || !out) return 2;
    char db[1024] = "", outside[1024] = "", mode[64] = "probe", line[1200];
    int port = 0;
    FILE* f = fopen(play, "r");
    if (!f) return 2;
    while (fgets(line, sizeof line, f)) {
        sscanf(line, "port %d", &port);
        sscanf(line, "db %1023s", db);
        sscanf(line, "outside %1023s", outside);
        sscanf(line, "mode %63s", mode);
    }
    fclose(f);

    if (access(KILL_FLAG, F_OK) == 0) raise(SIGKILL);
    if (strcmp(mode, "probe") != 0) {
        /* A game the board ranks (its score is made up: this is a test). */
        FILE* r = fopen(out, "w");
        if (!r) return 3;
        fprintf(r, "{\"verified\":true,\"complete\":true,\"ending\":\"gameover\",\"score\":100,\"difficulty\":1,"
                   "\"stage\":1,\"lives\":0,\"bombs\":0,\"start_stage\":1,\"jewels\":0,\"stage_scores\":[100],"
                   "\"frames\":1000,\"speed\":0,\"sim\":1,\"game_sim\":1}\n");
        fclose(r);
        return 0;
    }

    tryConnect("a TCP connection to the board", SOCK_STREAM, port);
    tryConnect("a UDP datagram", SOCK_DGRAM, port);
    int fd = open(outside, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    say("a file written outside its folder", fd >= 0, errno);
    if (fd >= 0) close(fd);
    fd = open(db, O_RDONLY);
    say("reading the board's database", fd >= 0, errno);
    if (fd >= 0) close(fd);
    char environ_[64];
    snprintf(environ_, sizeof environ_, "/proc/%d/environ", (int)getppid());
    fd = open(environ_, O_RDONLY);
    say("reading the board's environment", fd >= 0, errno);
    if (fd >= 0) close(fd);
    fd = open("/proc/self/status", O_RDONLY);
    if (fd < 0) say("reading its own /proc entry", 1, errno); /* not an escape: it must work */
    else close(fd);
    int started = 0, err = 0;
    for (int i = 0; i < 100; ++i) {
        pid_t p = fork();
        if (p == 0) _exit(0);
        if (p < 0) {
            err = errno;
            continue;
        }
        ++started;
        waitpid(p, NULL, 0);
    }
    say("forking 100 processes", started > 0, err);
    int inherited = 0;
    for (int d = 3; d < 1024; ++d) {
        char c;
        if (fcntl(d, F_GETFD) != -1 || read(d, &c, 1) >= 0) ++inherited;
    }
    say("reading an inherited descriptor", inherited > 0, EBADF);

    FILE* r = fopen(out, "w");
    if (!r) return 3;
    fprintf(r, "{\"verified\":false,\"complete\":false,\"message\":\"probe: %s\"}\n", report);
    fclose(r);
    return 0;
}
