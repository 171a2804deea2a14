# kvl2005.connect on real databases: values both ways, executemany, transactions, and the
# exception each kind of failure raises.
import datetime
import re
from decimal import Decimal
from pathlib import Path

import pytest

import kvl2005

ALL_TYPES = ("CREATE TABLE p (i BIGINT, f DOUBLE PRECISION, d DECIMAL(12,3), t VARCHAR(200), "
             "b {blob}, dt DATE, tm TIME, ts TIMESTAMP, bo BOOLEAN)")


def is_postgres(session):
    return session.Driver == "PostgreSQL"


def test_values_of_each_type_round_trip(session, connect):
    cur = connect().cursor()
    cur.execute(ALL_TYPES.format(blob="BYTEA" if is_postgres(session) else "BLOB"))
    values = (-9007199254740993, 0.1, Decimal("-1234.567"), "Évora 'q' ?", b"\x00\x01\xff",
              datetime.date(2024, 2, 29), datetime.time(13, 45, 1, 250000),
              datetime.datetime(1999, 12, 31, 23, 59, 58, 123456), True)
    insert = "INSERT INTO p VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"
    cur.execute(insert, values)
    cur.execute(insert, [None] * 9)
    # Other spellings of the same values: bytes-like objects, an exponent, an integer.
    cur.execute(insert, (1, 2, Decimal("5E+2"), "", bytearray(b"ab"), None, None, None, False))
    cur.execute(insert, (2, 2.0, 7, "", memoryview(b"cd"), None, None, None, None))

    rows = sorted(cur.execute("SELECT * FROM p").fetchall(), key=lambda r: r[0] or -2**63)
    assert rows[0] == (None,) * 9
    got = rows[1]
    assert got == values and [type(v) for v in got] == [type(v) for v in values]
    assert rows[2][2:5] == (Decimal(500), "", b"ab") and rows[2][8] is False
    assert rows[3][1:5] == (2.0, Decimal(7), "", b"cd")
    codes = [d[1] for d in cur.description]
    assert codes == [kvl2005.NUMBER] * 3 + [kvl2005.STRING, kvl2005.BINARY] + \
        [kvl2005.DATETIME] * 3 + [kvl2005.NUMBER]

    # Beyond 64 bits an integer is sent as an exact number.
    assert cur.execute("SELECT CAST(? AS VARCHAR(40))", (2**70,)).fetchone() == (str(2**70),)


def test_parameters_the_interface_refuses(connect):
    cur = connect().cursor()
    aware = datetime.datetime(2024, 1, 1, tzinfo=datetime.timezone.utc)
    for params, error in (("ab", kvl2005.ProgrammingError), ({"a": 1}, kvl2005.ProgrammingError),
                          ((object(),), kvl2005.ProgrammingError),
                          ((aware,), kvl2005.NotSupportedError)):
        with pytest.raises(error):
            cur.execute("SELECT ?", params)


def test_executemany_and_executing_again(connect):
    con = connect()
    cur = con.cursor()
    cur.execute("CREATE TABLE m (k INTEGER, v VARCHAR(10))")
    cur.executemany("INSERT INTO m VALUES (?, ?)", ((k, f"v{k}") for k in range(1000)))
    assert cur.rowcount == 1000 and cur.description is None
    # The same text runs again with other values; a different one is prepared anew.
    select = "SELECT v FROM m WHERE k = ?"
    assert [cur.execute(select, (k,)).fetchone()[0] for k in (5, 999)] == ["v5", "v999"]
    assert cur.execute("SELECT count(*) FROM m").fetchone() == (1000,)
    assert cur.execute(select, (0,)).fetchall() == [("v0",)]


def count(con, table="tx"):
    return con.cursor().execute(f"SELECT count(*) FROM {table}").fetchall()[0][0]


def test_transactions_and_what_another_connection_sees(connect):
    writer = connect()
    # Reading in auto-commit: on SQLite an open transaction would hold its lock.
    reader = connect(autocommit=True)
    assert (writer.autocommit, reader.autocommit) == (False, True)
    cur = writer.cursor()
    cur.execute("CREATE TABLE tx (k INTEGER PRIMARY KEY)")
    writer.commit()

    cur.execute("INSERT INTO tx VALUES (1)")
    assert (count(writer), count(reader)) == (1, 0)
    writer.rollback()
    assert count(writer) == 0
    cur.execute("INSERT INTO tx VALUES (2)")
    writer.commit()
    assert count(reader) == 1

    with writer:
        cur.execute("INSERT INTO tx VALUES (3)")
    assert count(reader) == 2  # committed when the block ended
    with pytest.raises(ZeroDivisionError), writer:
        cur.execute("INSERT INTO tx VALUES (4)")
        1 / 0
    assert count(writer) == 2  # rolled back, and the connection stays open

    cur.execute("INSERT INTO tx VALUES (5)")
    writer.autocommit = True  # commits what is open
    assert count(reader) == 3
    cur.execute("INSERT INTO tx VALUES (6)")
    assert count(reader) == 4

    writer.autocommit = False
    cur.execute("INSERT INTO tx VALUES (7)")
    writer.close()  # what was not committed is rolled back
    assert count(reader) == 4


def raised(work):
    with pytest.raises(kvl2005.Error) as e:
        work()
    return e.value


# Failures each driver gives on demand, and the class each raises; None where it has none.
FAILURES = [
    ("duplicate key", kvl2005.IntegrityError, "INSERT INTO f VALUES (1)",
     "INSERT INTO f VALUES (1)"),
    ("syntax", kvl2005.ProgrammingError, "SELEC 1", "SELEC 1"),
    ("unknown table", kvl2005.ProgrammingError, "SELECT * FROM nowhere", "SELECT * FROM nowhere"),
    ("bad value", kvl2005.DataError, "INSERT INTO f VALUES ('x')", "SELECT 1 / 0"),
    ("batch, FOR UPDATE with count", kvl2005.NotSupportedError, "SELECT 1; SELECT 2",
     "SELECT count(*) FROM f FOR UPDATE"),
    ("raised", kvl2005.DatabaseError, "SELECT RAISE(ABORT, 'x')",
     "DO $$BEGIN RAISE EXCEPTION 'x'; END$$"),
]


@pytest.mark.parametrize("what, error, sqlite, postgres", FAILURES, ids=[f[0] for f in FAILURES])
def test_driver_failures_raise_their_class(session, connect, what, error, sqlite, postgres):
    cur = connect(autocommit=True).cursor()
    cur.execute("CREATE TABLE f (k INTEGER PRIMARY KEY)")
    cur.execute("INSERT INTO f VALUES (1)")
    e = raised(lambda: cur.execute(postgres if is_postgres(session) else sqlite))
    assert type(e) is error
    assert re.fullmatch(r"[0-9A-Z]{5}", e.sqlstate) and e.message and e.native != 0
    assert e.diagnostics[0] == (e.sqlstate, e.native, e.message)
    assert session.Dialogos.asked == []  # nobody was asked
    assert cur.execute("SELECT count(*) FROM f").fetchone() == (1,)  # still usable


def test_failures_of_the_connection(session, connect):
    con = connect()
    cur = con.cursor()
    # What the open transaction's state does not allow.
    cur.execute("SELECT 1")
    wrong = "SET TRANSACTION ISOLATION LEVEL SERIALIZABLE" if is_postgres(session) else "BEGIN"
    assert type(raised(lambda: cur.execute(wrong))) is kvl2005.InternalError
    con.rollback()
    with pytest.raises(kvl2005.ProgrammingError):
        cur.execute("CREATE TABLE c (k INTEGER)").fetchone()  # no result set
    cur.close()
    with pytest.raises(kvl2005.InterfaceError):
        cur.execute("SELECT 1")
    other = con.cursor().execute("SELECT 1")
    con.close()
    con.close()  # a second close does nothing
    for work in (con.cursor, con.commit, con.rollback, lambda: setattr(con, "autocommit", True),
                 other.fetchall):
        with pytest.raises(kvl2005.InterfaceError):
            work()


def test_connect_by_keywords_and_refused_connects(session, tmp_path):
    if is_postgres(session):
        keywords = dict(driver="PostgreSQL", server=session.Server, database=session.DB,
                        uid=session.UID, pwd=session.PWD)
        # A value with ";" is enclosed: it cannot name another user.
        refused = dict(keywords, pwd="x;UID=nobody")
    else:
        keywords = dict(driver="SQLite3", database=str(tmp_path / "k.sqlite"))
        refused = dict(keywords, database=str(tmp_path / "no" / "such.sqlite"))
    with kvl2005.connect(**keywords) as con:
        assert con.cursor().execute("SELECT 1").fetchone() == (1,)
    con.close()

    e = raised(lambda: kvl2005.connect(**refused))
    assert type(e) is kvl2005.OperationalError and e.sqlstate and e.message
    if is_postgres(session):
        assert f'password authentication failed for user "{session.UID}"' in e.message
    e = raised(lambda: kvl2005.connect(dsn="no-such-source"))
    assert type(e) is kvl2005.InterfaceError and e.sqlstate == "IM002"
    with pytest.raises(TypeError):
        kvl2005.connect(driver="SQLite3", host="x")
    with pytest.raises(kvl2005.InterfaceError):
        kvl2005.connect(session.Login, driver="SQLite3")


def test_a_lost_link_is_operational(session, connect):
    if not is_postgres(session):
        pytest.skip("only a server can end a session")
    con = connect()
    cur = con.cursor()
    backend = cur.execute("SELECT pg_backend_pid()").fetchone()[0]
    connect(autocommit=True).cursor().execute(f"SELECT pg_terminate_backend({backend})")
    e = raised(lambda: cur.execute("SELECT 1"))
    assert type(e) is kvl2005.OperationalError, e
    con.close()


def test_the_readme_example_runs(tmp_path, monkeypatch):
    readme = (Path(__file__).parents[2] / "README.md").read_text()
    example = readme.split("<!-- example: kvl2005.connect -->\n```python\n")[1].split("```")[0]
    monkeypatch.chdir(tmp_path)
    exec(example.replace("/tmp/ruas.sqlite", str(tmp_path / "ruas.sqlite")), {})
