# kvlsql typed at a terminal, through a pseudo-terminal: line editing and history, a
# failure that gives the prompt back, Ctrl-C, and the password asked for.
import os
import stat
import time

import pytest

from conftest import postgres_login

LEFT, UP, CTRL_C, CTRL_D = "\x1b[D", "\x1b[A", "\x03", "\x04"
ENDLESS = {
    "sqlite": "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
              "SELECT count(*) FROM c;",
    "postgres": "SELECT pg_sleep(30);",
}


def test_lines_are_edited_recalled_and_a_failure_gives_the_prompt_back(database, terminal, home):
    t = terminal(*database.login)
    t.expect("1> ")
    t.type(f"SELECT 'ac';{LEFT * 3}b\r")  # the cursor goes back before c
    assert "\r\n abc " in t.expect("1> ")
    t.type("SELEKT 1;\r")
    failed = t.expect("1> ")
    assert "standard input:2: ERROR " in failed
    # Enter answers nothing now: it is an empty line, and the statement never runs again.
    t.type("\r\r\r")
    for _ in range(3):
        assert "ERROR" not in t.expect("1> ")
    t.type(f"{UP}{UP}\r")  # each recall draws the prompt again: wait for the rows
    assert "\r\n abc " in t.expect("(1 row)")
    t.expect("1> ")  # Ctrl-D ends the session at the prompt, not while the rows print
    t.type(CTRL_D)
    assert t.status() == 1  # a command failed

    history = home / ".local" / "state" / "kvl2005" / "kvlsql_history"
    assert stat.S_IMODE(os.stat(history).st_mode) == 0o600
    # The next session recalls the lines of this one.
    t = terminal(*database.login)
    t.expect("1> ")
    t.type(f"{UP}\r")
    assert "\r\n abc " in t.expect("(1 row)")


def test_ctrl_c_stops_the_running_statement_or_drops_the_line_typed(database, terminal):
    t = terminal(*database.login)
    t.expect("1> ")
    t.type(ENDLESS[database.name] + "\r")
    time.sleep(1)
    t.type(CTRL_C)
    assert "ERROR" in t.expect("1> ")  # a generous bound: only a hang fails
    t.type("SELECT 1 AS a\r")
    t.expect("2> ")
    t.type(CTRL_C)
    t.expect("1> ")
    t.type("SELECT 2 AS b;\r")
    shown = t.expect("1> ")
    assert " b \r\n" in shown and " a " not in shown
    t.type("\\q\r")
    assert t.status() == 1


@pytest.mark.parametrize("database", ["postgres"], indirect=True)
def test_a_login_refused_for_want_of_a_password_asks_for_it_once(database, terminal):
    password = os.environ.pop("KVLSQL_PASSWORD")
    t = terminal(*postgres_login(), "-c", "SELECT 1 AS one")
    t.expect(f"Password for {os.environ.get('KVL_PG_UID', 'kvltest')}: ")
    t.type(password + "\r")
    shown = t.expect("(1 row)")
    assert password not in shown  # never shown as typed
    assert t.status() == 0
