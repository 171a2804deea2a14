# Fixtures of kvlsql's end-to-end tests (the private driver list comes from the plugin
# private_odbc): the built program, a home of its own for each test, and the connection
# options of each backend.
import os
import pty
import select
import subprocess
import time

import pytest

KVLSQL = os.environ.get("KVLSQL", "kvlsql")


@pytest.fixture
def home(tmp_path, monkeypatch):
    """A home folder of the test's own, with the XDG folders under it."""
    for name in ("HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "PGPASSWORD", "KVLSQL_PASSWORD"):
        monkeypatch.delenv(name, raising=False)
    monkeypatch.setenv("HOME", str(tmp_path))
    monkeypatch.setenv("LC_ALL", "C.UTF-8")
    return tmp_path


def postgres_login():
    return ["--driver", "PostgreSQL", "--server", os.environ.get("KVL_PG_SERVER", "localhost"),
            "--db", os.environ.get("KVL_PG_DB", "kvltest"),
            "--uid", os.environ.get("KVL_PG_UID", "kvltest")]


class Database:
    def __init__(self, name, login):
        self.name = name    # "sqlite" or "postgres"
        self.login = login  # kvlsql's connection options


@pytest.fixture(params=["sqlite", "postgres"])
def database(request, home, monkeypatch):
    """A database of each backend: a fresh SQLite file, or the PostgreSQL test database
    (the password from KVLSQL_PASSWORD). Tests work in temporary tables."""
    if request.param == "sqlite":
        return Database("sqlite", ["--driver", "SQLite3", "--db", str(home / "test.sqlite")])
    monkeypatch.setenv("KVLSQL_PASSWORD", os.environ.get("KVL_PG_PWD", "kvltest"))
    check = run(*postgres_login(), "-c", "SELECT 1")
    if check.returncode != 0:
        if os.environ.get("KVL_REQUIRE_PG"):
            pytest.fail(f"PostgreSQL is not reachable: {check.stderr}")
        pytest.skip("PostgreSQL is not reachable")
    return Database("postgres", postgres_login())


def run(*args, script=None):
    """kvlsql with these arguments, script as its standard input."""
    return subprocess.run([KVLSQL, *args], input=script, capture_output=True, text=True,
                          timeout=60)


class Terminal:
    """kvlsql on a pseudo-terminal: what is typed, and what shows."""

    def __init__(self, *args):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execv(KVLSQL, [KVLSQL, *args])
        self.shown = b""

    def type(self, keys):
        os.write(self.fd, keys.encode())

    def expect(self, text, timeout=10):
        """Everything shown up to text, which must show within timeout seconds."""
        end = time.monotonic() + timeout
        while text.encode() not in self.shown:
            ready, _, _ = select.select([self.fd], [], [], max(0, end - time.monotonic()))
            if not ready:
                raise AssertionError(f"{text!r} never showed; the terminal shows {self.shown!r}")
            try:
                self.shown += os.read(self.fd, 4096)
            except OSError:
                raise AssertionError(f"kvlsql ended before {text!r}: {self.shown!r}")
        at = self.shown.index(text.encode()) + len(text)
        seen, self.shown = self.shown[:at], self.shown[at:]
        return seen.decode()

    def status(self, timeout=30):
        """The exit status, once kvlsql has ended, which it must within timeout seconds."""
        end = time.monotonic() + timeout
        while True:
            ready, _, _ = select.select([self.fd], [], [], max(0, end - time.monotonic()))
            if not ready:
                raise AssertionError(f"kvlsql never ended; the terminal shows {self.shown!r}")
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            self.shown += chunk
        _, status = os.waitpid(self.pid, 0)
        os.close(self.fd)
        return os.waitstatus_to_exitcode(status)


@pytest.fixture
def terminal():
    started = []

    def start(*args):
        started.append(Terminal(*args))
        return started[-1]

    yield start
    for t in started:
        try:
            os.kill(t.pid, 9)
            os.waitpid(t.pid, 0)
        except (ProcessLookupError, ChildProcessError):
            pass
