# Fixtures of the Python module's tests (the private driver list comes from the plugin
# private_odbc): an open session on a fresh SQLite file or in a schema of its own on the
# local PostgreSQL server.
import os

import pytest

import kvl2005

IGNORE, YES, NO = 5, 6, 7


class Answers:
    """Answers the library's questions from a script and keeps what was asked."""

    def __init__(self):
        self.asked = []
        self.script = {}  # title prefix -> answer

    def __call__(self, title, text, style):
        self.asked.append((title, text, style))
        for prefix, answer in self.script.items():
            if title.startswith(prefix):
                return answer
        return IGNORE if style & 2 else NO


def configure_postgres(s):
    s.Driver = "PostgreSQL"
    s.Server = os.environ.get("KVL_PG_SERVER", "localhost")
    s.DB = os.environ.get("KVL_PG_DB", "kvltest")
    s.UID = os.environ.get("KVL_PG_UID", "kvltest")
    s.PWD = os.environ.get("KVL_PG_PWD", "kvltest")


def open_session(backend, tmp_path):
    s = kvl2005.kvlSERV()
    s.Dialogos = Answers()
    if backend == "sqlite":
        s.Driver = "SQLite3"
        s.DB = str(tmp_path / "test.sqlite")
    else:
        configure_postgres(s)
    s.Abre()
    return s


def run(s, sql):
    r = s.Exec(sql)
    assert not r.erro, f"{sql}: {r.ErroD}"
    r.Liberta()


@pytest.fixture(params=["sqlite", "postgres"])
def session(request, tmp_path):
    """An open session whose questions are answered by an Answers object."""
    s = open_session(request.param, tmp_path)
    if not s.Aberto:
        if request.param == "postgres" and not os.environ.get("KVL_REQUIRE_PG"):
            pytest.skip("PostgreSQL is not reachable")
        pytest.fail(f"cannot open {request.param}: {s.ErroD}")
    schema = None
    if request.param == "postgres":
        schema = f"kvl_py{os.getpid()}"
        run(s, f"DROP SCHEMA IF EXISTS {schema} CASCADE")
        run(s, f"CREATE SCHEMA {schema}")
        s.Abre(BuildLogin=False, sLOGIN=f"{s.Login};ConnSettings=SET search_path TO {schema}")
    yield s
    if schema:
        if not s.Aberto:
            s.Abre()
        run(s, f"DROP SCHEMA {schema} CASCADE")
    s.Fecha()


def another_session(s, **properties):
    """A new session on s's database with s's login, given properties before it opens."""
    t = kvl2005.kvlSERV()
    t.Dialogos = Answers()
    for name in ("Driver", "Server", "DB", "UID", "PWD", "Aplicação"):
        setattr(t, name, getattr(s, name))
    for name, value in properties.items():
        setattr(t, name, value)
    t.Abre(BuildLogin=False, sLOGIN=s.Login)
    assert t.Aberto, t.ErroD
    return t


@pytest.fixture
def connect(session):
    """Opens kvl2005.connect connections on the session's database, closed at the end."""
    opened = []

    def open_one(**options):
        c = kvl2005.connect(session.Login, **options)
        opened.append(c)
        return c

    yield open_one
    for c in opened:
        c.close()
