"""kvl2005.connect against pyodbc on the same drivers and data, in one run.

Reads 100,000 rows of ten columns (five texts, four numbers, a date) with fetchall and by
iterating the cursor, and inserts 10,000 of them with executemany in one transaction, on SQLite
and PostgreSQL. Prints the median of the repetitions for each and the ratio (kvl2005 / pyodbc,
lower is faster). Both modules must read the same values, which is checked first.

Usage: bench/run-python (builds the module in Release and runs this), or
       PYTHONPATH=<build>/python python3 bench/python_vs_pyodbc.py SQLITE_FILE
Environment: KVL_PG_SERVER, KVL_PG_DB, KVL_PG_UID, KVL_PG_PWD; KVL_BENCH_REPETITIONS (5);
KVL_ODBC_DRIVER_DIR, the folder of the ODBC drivers' libraries.
"""

import os
import statistics
import sys
import tempfile
import time

import pyodbc

import kvl2005

ROWS = 100_000
INSERTED = 10_000
COLUMNS = ("id, nome, freguesia, codigo, nota, tipo, comprimento, largura, numero, desde")
TABLE = ("(id INTEGER PRIMARY KEY, nome VARCHAR(60), freguesia VARCHAR(20), codigo VARCHAR(10), "
         "nota VARCHAR(30), tipo VARCHAR(4), comprimento REAL, largura REAL, numero INTEGER, "
         "desde DATE)")


def rows_from(numbers, date):
    """The rows as bench/BenchData.cpp makes them, from a source of numbers i."""
    return ("SELECT id, 'Rua ' || i || ' de São João da Ribeira', 'Freguesia ' || (i % 97), "
            "'C' || (i * 7919 % 100000), "
            "CASE WHEN i % 3 = 0 THEN 'Praça' ELSE 'Avenida das Descobertas' END, "
            "CASE WHEN i % 2 = 0 THEN 'R' ELSE 'Av' END, (i % 1000) * 1.25, (i % 30) + 0.5, "
            f"i % 500, {date} FROM {numbers}")


SQLITE_DATA = rows_from(
    f"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {ROWS}) "
    "SELECT i AS id, i FROM n)", "date('1900-01-01', '+' || (i % 40000) || ' days')")
POSTGRES_DATA = rows_from(f"(SELECT i AS id, i FROM generate_series(1, {ROWS}) AS g(i)) AS n",
                          "DATE '1900-01-01' + (i % 40000)")


def private_driver_list(folder):
    drivers = os.environ.get("KVL_ODBC_DRIVER_DIR", "/usr/lib/x86_64-linux-gnu/odbc")
    with open(os.path.join(folder, "odbcinst.ini"), "w") as f:
        f.write(f"[SQLite3]\nDriver={drivers}/libsqlite3odbc.so\n\n"
                f"[PostgreSQL]\nDriver={drivers}/psqlodbcw.so\n")
    open(os.path.join(folder, "odbc.ini"), "w").close()
    os.environ["ODBCSYSINI"] = folder
    os.environ["ODBCINI"] = os.path.join(folder, "odbc.ini")


def ensure_data(text, data):
    """The table kvl_leitura with ROWS rows, made once and kept (bench/run reads it too)."""
    with kvl2005.connect(text) as c:
        cur = c.cursor()
        try:
            if cur.execute("SELECT count(*) FROM kvl_leitura").fetchone()[0] >= ROWS:
                return
        except kvl2005.DatabaseError:
            c.rollback()
        cur.execute("DROP TABLE IF EXISTS kvl_leitura")
        cur.execute("CREATE TABLE kvl_leitura " + TABLE)
        cur.execute("INSERT INTO kvl_leitura " + data)


def read_all(connection):
    cur = connection.cursor()
    return cur.execute(f"SELECT {COLUMNS} FROM kvl_leitura WHERE id <= {ROWS}").fetchall()


def iterate(connection):
    cur = connection.cursor()
    count = 0
    for _ in cur.execute(f"SELECT {COLUMNS} FROM kvl_leitura WHERE id <= {ROWS}"):
        count += 1
    return count


def insert_many(connection, rows):
    cur = connection.cursor()
    cur.execute("DROP TABLE IF EXISTS kvl_escrita")
    cur.execute("CREATE TEMP TABLE kvl_escrita " + TABLE)
    connection.commit()
    start = time.perf_counter()
    cur.executemany("INSERT INTO kvl_escrita VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", rows)
    connection.commit()
    elapsed = time.perf_counter() - start
    assert cur.execute("SELECT count(*) FROM kvl_escrita").fetchone()[0] == len(rows)
    return elapsed


def timed(work):
    start = time.perf_counter()
    work()
    return time.perf_counter() - start


def measure(name, text, repetitions):
    """Median seconds of each operation for each module, both open on the same data."""
    modules = {"kvl2005": kvl2005.connect(text), "pyodbc": pyodbc.connect(text)}
    kvl_rows = read_all(modules["kvl2005"])
    odbc_rows = [tuple(r) for r in read_all(modules["pyodbc"])]
    assert len(kvl_rows) == ROWS and kvl_rows == odbc_rows, f"{name}: the modules read apart"
    rows = kvl_rows[:INSERTED]
    times = {(m, op): [] for m in modules for op in ("fetchall", "iteration", "executemany")}
    for _ in range(repetitions):  # interleaved, so both see the same load
        for module, connection in modules.items():
            times[module, "fetchall"].append(timed(lambda: read_all(connection)))
            times[module, "iteration"].append(timed(lambda: iterate(connection)))
            times[module, "executemany"].append(insert_many(connection, rows))
    for connection in modules.values():
        connection.close()
    return {key: statistics.median(values) for key, values in times.items()}


def report(name, medians):
    for op, what in (("fetchall", f"fetchall, {ROWS:,} x 10"),
                     ("iteration", f"iteration, {ROWS:,} x 10"),
                     ("executemany", f"executemany, {INSERTED:,} rows")):
        kvl, odbc = medians["kvl2005", op], medians["pyodbc", op]
        print(f"  {name:10} {what:28} kvl2005 {kvl * 1000:8.1f} ms   pyodbc {odbc * 1000:8.1f} ms"
              f"   ratio {kvl / odbc:.2f}")


def main():
    sqlite_file = sys.argv[1] if len(sys.argv) > 1 else None
    repetitions = int(os.environ.get("KVL_BENCH_REPETITIONS", "5"))
    with tempfile.TemporaryDirectory() as folder:
        private_driver_list(folder)
        backends = [("SQLite", f"DRIVER=SQLite3;Database="
                               f"{sqlite_file or os.path.join(folder, 'bench.sqlite')}",
                     SQLITE_DATA),
                    ("PostgreSQL",
                     "DRIVER=PostgreSQL;SERVER={};DATABASE={};UID={};PWD={}".format(
                         *(os.environ.get(f"KVL_PG_{k}", d) for k, d in
                           (("SERVER", "localhost"), ("DB", "kvltest"), ("UID", "kvltest"),
                            ("PWD", "kvltest")))),
                     POSTGRES_DATA)]
        print(f"kvl2005 against pyodbc {pyodbc.version} (medians of {repetitions}; "
              "ratio below 1: kvl2005 is faster)")
        for name, text, data in backends:
            ensure_data(text, data)
            report(name, measure(name, text, repetitions))


if __name__ == "__main__":
    main()
