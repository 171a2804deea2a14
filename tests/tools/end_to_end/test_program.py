# The program itself on the embedded default database: made at first use, commands from -c,
# standard input and files in the order given, the exit statuses, the session's log.
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
