"""A throw-away PostgreSQL cluster in a temporary folder, owned by an
unprivileged user (initdb refuses root, and CI runs as root), listening on
127.0.0.1 at a free port. Never the system's own service."""
import os
import pwd
import socket
import subprocess


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

    def start(self):
        subprocess.run(self.sudo + [f"{self.bin}/pg_ctl", "-D", self.dir, "-l", f"{self.dir}/log", "-w", "-t", "60",
                                    "-o", f"-p {self.port} -k {self.dir} -c listen_addresses=127.0.0.1 -c fsync=off "
                                    "-c full_page_writes=off -c max_connections=100", "start"],
                       check=True, capture_output=True, timeout=90)

    def stop(self):
        subprocess.run(self.sudo + [f"{self.bin}/pg_ctl", "-D", self.dir, "-m", "fast", "-w", "stop"],
                       capture_output=True, timeout=90)
