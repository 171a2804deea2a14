# What PEP 249 requires of a module, its connections and cursors, walked on both drivers.
import datetime
import time

import pytest

import kvl2005


def test_module_globals_constructors_and_exception_hierarchy():
    assert (kvl2005.apilevel, kvl2005.threadsafety, kvl2005.paramstyle) == ("2.0", 1, "qmark")
    assert issubclass(kvl2005.Warning, Exception) and issubclass(kvl2005.Error, Exception)
    assert not issubclass(kvl2005.Warning, kvl2005.Error)
    for name in ("InterfaceError", "DatabaseError"):
        assert issubclass(getattr(kvl2005, name), kvl2005.Error)
    for name in ("DataError", "OperationalError", "IntegrityError", "InternalError",
                 "ProgrammingError", "NotSupportedError"):
        assert issubclass(getattr(kvl2005, name), kvl2005.DatabaseError)

    assert kvl2005.Date(2002, 12, 25) == datetime.date(2002, 12, 25)
    assert kvl2005.Time(13, 45, 30) == datetime.time(13, 45, 30)
    moment = datetime.datetime(2002, 12, 25, 13, 45, 30)
    assert kvl2005.Timestamp(2002, 12, 25, 13, 45, 30) == moment
    ticks = time.mktime((2002, 12, 25, 13, 45, 30, 0, 0, -1))
    assert kvl2005.DateFromTicks(ticks) == datetime.date(2002, 12, 25)
    assert kvl2005.TimeFromTicks(ticks) == datetime.time(13, 45, 30)
    assert kvl2005.TimestampFromTicks(ticks) == moment
    assert kvl2005.Binary(b"\x00x") == b"\x00x"

    groups = (kvl2005.STRING, kvl2005.NUMBER, kvl2005.DATETIME, kvl2005.BINARY, kvl2005.ROWID)
    for i, a in enumerate(groups):
        for j, b in enumerate(groups):
            assert (a == b) == (i == j)
    assert kvl2005.STRING == 12 and 4 == kvl2005.NUMBER and kvl2005.NUMBER != 12
    assert kvl2005.ROWID != 4


def test_connection(connect):
    con = connect()
    for name in ("close", "commit", "rollback", "cursor"):
        assert callable(getattr(con, name))
    for name in ("Warning", "Error", "InterfaceError", "DatabaseError", "DataError",
                 "OperationalError", "IntegrityError", "InternalError", "ProgrammingError",
                 "NotSupportedError"):
        assert getattr(con, name) is getattr(kvl2005, name)
    cur = con.cursor()
    assert cur.connection is con
    cur.execute("CREATE TABLE c (k INTEGER, t VARCHAR(10))")
    # Cursors of one connection see each other's changes at once.
    cur.execute("INSERT INTO c VALUES (?, ?)", (1, None))
    assert con.cursor().execute("SELECT k, t FROM c").fetchall() == [(1, None)]
    con.rollback()


def test_cursor_before_and_after_a_query(connect):
    cur = connect().cursor()
    assert (cur.description, cur.rowcount, cur.arraysize) == (None, -1, 1)
    for fetch in (cur.fetchone, cur.fetchall, cur.fetchmany):
        with pytest.raises(kvl2005.Error):
            fetch()  # nothing executed yet
    cur.execute("CREATE TABLE b (nome VARCHAR(20))")
    cur.executemany("INSERT INTO b VALUES (?)", [(f"n{i}",) for i in range(6)])
    assert cur.rowcount == 6
    with pytest.raises(kvl2005.Error):
        cur.fetchone()  # the last command gave no rows

    cur.setinputsizes([20])
    cur.setoutputsize(100)
    cur.setoutputsize(100, 0)
    cur.execute("SELECT nome FROM b ORDER BY nome")
    assert len(cur.description) == 1 and len(cur.description[0]) == 7
    assert cur.description[0][0] == "nome" and cur.description[0][1] == kvl2005.STRING
    assert cur.rowcount == -1
    cur.arraysize = 2
    assert cur.fetchone() == ("n0",)
    assert cur.fetchmany() == [("n1",), ("n2",)] and cur.fetchmany(1) == [("n3",)]
    assert cur.fetchall() == [("n4",), ("n5",)]
    assert (cur.fetchone(), cur.fetchmany(), cur.fetchall()) == (None, [], [])
    assert list(cur.execute("SELECT nome FROM b WHERE nome > ?", ("n3",))) == [("n4",), ("n5",)]
    assert cur.execute("SELECT count(*) FROM b", None).fetchall() == [(6,)]
    assert cur.nextset() is None and cur.description is None

    with cur:
        pass
    with pytest.raises(kvl2005.Error):
        cur.execute("SELECT 1")  # closed by its block


def test_next_result_set(session, connect):
    if session.Driver != "PostgreSQL":
        pytest.skip("the SQLite driver takes one statement per command")
    cur = connect().cursor()
    assert cur.execute("SELECT 1 AS a; SELECT 'x' AS b").fetchall() == [(1,)]
    assert cur.nextset() is True
    assert cur.description[0][0] == "b" and cur.fetchall() == [("x",)]
    assert cur.nextset() is None
