# Scripts end to end: where a failure is, variables, and what the server says besides.
import re

import pytest

from conftest import run


def test_a_failure_names_its_file_line_and_sqlstate(database, home):
    (home / "s.sql").write_text("SELECT 1;\n\n  SELEKT\n  1;\nSELECT 2 AS after;\n")
    result = run(*database.login, "-f", str(home / "s.sql"))
    assert result.returncode == 1
    assert re.fullmatch(re.escape(str(home / "s.sql")) + r":3: ERROR [0-9A-Z]{5}: .*syntax error.*\n",
                        result.stderr), result.stderr
    assert " after \n" in result.stdout


def test_variables_stand_for_their_values(database):
    script = ("\\set who O'Neil\nSELECT :'who' AS who, :n + 1 AS n;\n"
              "CREATE TEMP TABLE :tabela (a INTEGER);\nSELECT count(*) AS c FROM :\"tabela\";\n")
    result = run(*database.login, "-v", "n=41", "-v", "tabela=t1", "-A", "-t", "-f", "-",
                 script=script)
    assert result.returncode == 0, result.stderr
    assert result.stdout == "O'Neil|42\n0\n"


@pytest.mark.parametrize("database", ["postgres"], indirect=True)
def test_notices_and_warnings_are_shown(database):
    script = ("DO $$ BEGIN RAISE NOTICE 'first; still'; RAISE WARNING 'second'; END $$;\n"
              "SELECT 1 AS one;\n")
    result = run(*database.login, "-f", "-", script=script)
    assert result.returncode == 0, result.stderr
    assert result.stderr == ("standard input:1: NOTICE: first; still\n"
                             "standard input:1: WARNING: second\n")
