# The program itself on the embedded default database: made at first use, commands from -c,
# standard input and files in the order given, the exit statuses, the session's log, and \d
# on the database's catalog views.
import pytest

from conftest import run


def test_the_default_database_is_made_at_first_use_and_read_from_standard_input(home):
    result = run("-c", "SELECT 1 AS x")
    assert (result.returncode, result.stdout, result.stderr) == (0, " x \n---\n 1 \n(1 row)\n\n", "")
    assert (home / ".local/share/kvl2005/kvlsql.sqlite").exists()
    result = run(script="SELECT 1\nGO\nSELECT nome\n  FROM concelhos WHERE id = 4\n")
    assert result.stdout == " 1 \n---\n 1 \n(1 row)\n\n nome  \n-------\n Évora \n(1 row)\n\n"


def test_a_usage_error_makes_the_status_two_and_runs_nothing(home):
    result = run("-c", "SELECT 1", "--stack", "0")
    assert (result.returncode, result.stdout) == (2, "")
    assert "(kvlsql --help lists the options)" in result.stderr


# args, the script (as standard input and as s.sql), the status, the tables shown, the error.
INPUTS_IN_ORDER = [
    (["-c", "SELEKT", "-f", "-", "-c", "SELECT 3 AS z"],
     "SELECT 1 AS x;\nSELEKT;\nSELECT 2 AS y;\n", 1, "xyz", "SELEKT"),
    (["-c", "SELECT 1 AS x", "--stop-on-error", "-f", "-", "-c", "SELECT 3 AS z"],
     "SELEKT;\nSELECT 2 AS y;\n", 1, "x", "SELEKT"),
    (["-b", "-f", "s.sql", "-c", "SELECT 3 AS z"],  # EXIT ends the session
     "SELECT 1 AS x;\nexit\nSELECT 2 AS y;\n", 0, "x", ""),
    (["-c", "SELECT 1 AS x", "-f", "none.sql"],  # checked before anything runs
     "", 1, "", "kvlsql: cannot open the script none.sql: No such file or directory\n"),
]


@pytest.mark.parametrize("args, script, status, shown, error", INPUTS_IN_ORDER)
def test_inputs_run_in_the_order_given_and_any_failure_makes_the_status_one(
        home, monkeypatch, args, script, status, shown, error):
    monkeypatch.chdir(home)
    (home / "s.sql").write_text(script)
    result = run(*args, script=script)
    assert result.returncode == status, result.stderr
    assert "".join(name for name in "xyz" if f" {name} \n" in result.stdout) == shown
    assert error in result.stderr if error else result.stderr == ""


def test_the_log_is_printed_at_the_end(home):
    result = run("--log", "-c", "SELECT 1 AS x")
    assert result.returncode == 0, result.stderr
    assert "(1 row)\n\nLog\tTrue\n" in result.stdout and "\nActCom\tSELECT 1 AS x\n" in result.stdout


RUAS = """\
 field         | type | type name | size | digits | decimals |         min |        max | width | format                        
---------------+------+-----------+------+--------+----------+-------------+------------+-------+-------------------------------
 id            |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 |    10 | {-+#}(-2147483648>2147483647) 
 tipo          |    2 | varchar   |    4 |      0 |        0 |             |            |     4 | {}                            
 nome          |    2 | varchar   |   80 |      0 |        0 |             |            |    80 | {}                            
 freguesia     |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 |    10 | {-+#}(-2147483648>2147483647) 
 comprimento   |   23 | real      |    4 |     24 |        0 |    -3.4E+27 |    3.4E+27 |    24 | {-+#.}(-3.4E+27>3.4E+27)      
 codigo_postal |    2 | varchar   |    8 |      0 |        0 |             |            |     8 | {}                            
(6 fields)

"""


def test_backslash_d_describes_a_table_and_lists_tables_and_views(home, monkeypatch):
    assert run("-c", "\\d ruas").stdout == RUAS
    missing = run("-c", "\\d nenhuma")
    assert missing.stderr == "-c:1: ERROR: \\d: the catalog has no table or view named nenhuma\n"
    tables = run("-c", "\\dt").stdout
    assert tables.startswith(" schema | name       | type  \n--------+------------+-------\n"
                             " main   | concelhos  | table \n"), tables
    assert tables.endswith(" main   | ruas       | table \n main   | tipos_via  | table \n"
                           "(7 rows)\n\n") and "view" not in tables, tables
    assert " main   | moradas    | view  \n" in run("-c", "\\d").stdout

    # A database made before the views were part of it gains them at its next use.
    run("-c", "DROP VIEW syscolumns")
    assert run("-c", "\\d ruas").stdout == RUAS
    # Under a Portuguese locale the formats take its separator.
    monkeypatch.setenv("LC_ALL", "pt_PT.UTF-8")
    assert "| {-+#.}(-3,4E+27>3,4E+27) " in run("-c", "\\d ruas").stdout


def test_without_its_catalog_views_backslash_d_says_what_is_missing(home):
    login = ["--driver", "SQLite3", "--db", str(home / "own.sqlite")]
    run(*login, "-c", "CREATE TABLE t (a int)")
    said = run(*login, "-c", "\\d t").stderr
    assert said.startswith("-c:1: ERROR: \\d t: the catalog query failed: "), said
    assert "the scripts in the project's sql folder" in said
