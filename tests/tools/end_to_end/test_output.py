# What kvlsql prints, read back: CSV by Python's csv module, and the widths of an aligned
# table on a terminal.
import csv
import io
import unicodedata

from conftest import run

VALUES = [None, "", 'say "hi"', "two\nlines", "a,b", "São"]


def literal(value):
    return "NULL" if value is None else "'" + value.replace("'", "''") + "'"


def test_csv_reads_back_as_the_values_stored(database, home):
    script = "CREATE TEMP TABLE t (n INTEGER, v VARCHAR(20));\n" + "".join(
        f"INSERT INTO t VALUES ({n}, {literal(v)});\n" for n, v in enumerate(VALUES)) + (
        f"\\o {home}/out.csv\nSELECT n, v FROM t ORDER BY n;\n")
    result = run(*database.login, "--csv", "-f", "-", script=script)
    assert result.returncode == 0, result.stderr
    text = (home / "out.csv").read_bytes().decode()
    rows = list(csv.reader(io.StringIO(text)))
    assert rows == [["n", "v"]] + [[str(n), "" if v is None else v] for n, v in enumerate(VALUES)]
    # NULL is an empty field, the empty text a quoted one.
    assert text.startswith('n,v\r\n0,\r\n1,""\r\n')


def display_width(text):
    return sum(0 if unicodedata.combining(c) or unicodedata.category(c) in ("Mn", "Me", "Cf")
               else 2 if unicodedata.east_asian_width(c) in ("W", "F") else 1 for c in text)


def test_a_table_of_wide_and_combining_characters_lines_up(database):
    names = ["東京", "😀 ok", "Sa\u0301o", "plain", "한국어"]
    selects = " UNION ALL ".join(f"SELECT '{n}' AS nome, {i} AS n" for i, n in enumerate(names))
    result = run(*database.login, "-c", selects)
    assert result.returncode == 0, result.stderr
    table = result.stdout.splitlines()[:2 + len(names)]
    assert {display_width(line) for line in table} == {display_width(table[0])}, table


def test_numbers_line_up_on_their_last_digit_whatever_their_type(database):
    # count(*) is a bigint on PostgreSQL and an integer on SQLite.
    result = run(*database.login, "-c", "SELECT count(*) AS contagem, 'abc' AS texto, "
                 "2.5 AS real FROM (SELECT 1 AS x UNION ALL SELECT 2) s")
    assert result.returncode == 0, result.stderr
    assert result.stdout == (" contagem | texto | real \n"
                             "----------+-------+------\n"
                             "        2 | abc   |  2.5 \n"
                             "(1 row)\n\n")
