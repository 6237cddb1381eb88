"""A throw-away PostgreSQL cluster in a temporary folder, owned by an
unprivileged user (initdb refuses root, and CI runs as root), listening on
127.0.0.1 at a free port. Never the system's own service."""
import ctypes
import os
import pwd
import signal
import socket
import subprocess
import sys


def die_with_parent():
    """For Popen(preexec_fn=...): the child is killed when this script dies,
    however it dies (SIGKILL from a time-out included)."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def stop_on_signals():
    """SIGTERM and SIGINT end the script through its cleanups."""
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda *_: sys.exit(1))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Postgres:
    def __init__(self, root):
        bins = sorted(d for d in os.listdir("/usr/lib/postgresql") if d.isdigit())
        self.bin = f"/usr/lib/postgresql/{bins[-1]}/bin"
        self.dir = f"{root}/pg"
        os.makedirs(self.dir)
        self.sudo = []
        if os.geteuid() == 0:  # the cluster belongs to "postgres"
            pw = pwd.getpwnam("postgres")
            os.chmod(root, 0o755)
            os.chown(self.dir, pw.pw_uid, pw.pw_gid)
            self.sudo = ["runuser", "-u", "postgres", "--"]
        subprocess.run(self.sudo + [f"{self.bin}/initdb", "-D", self.dir, "-A", "trust", "-U", "board", "-E", "UTF8",
                                    "--no-sync"], check=True, capture_output=True, timeout=120)
        self.port = free_port()
        self.url = f"postgresql://board@127.0.0.1:{self.port}/postgres?connect_timeout=3"
        self.start()
        # The cluster outlives a killed script unless someone watches: a
        # detached watcher stops it once this script is gone.
        pg_ctl = " ".join(self.sudo + [f"{self.bin}/pg_ctl", "-D", self.dir, "-m", "immediate", "stop"])
        subprocess.Popen(["sh", "-c", f"while kill -0 {os.getpid()} 2>/dev/null; do sleep 1; done; {pg_ctl}"],
                         start_new_session=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self):
        subprocess.run(self.sudo + [f"{self.bin}/pg_ctl", "-D", self.dir, "-l", f"{self.dir}/log", "-w", "-t", "60",
                                    "-o", f"-p {self.port} -k {self.dir} -c listen_addresses=127.0.0.1 -c fsync=off "
                                    "-c full_page_writes=off -c max_connections=100", "start"],
                       check=True, capture_output=True, timeout=90)

    def stop(self):
        subprocess.run(self.sudo + [f"{self.bin}/pg_ctl", "-D", self.dir, "-m", "fast", "-w", "stop"],
                       capture_output=True, timeout=90)
