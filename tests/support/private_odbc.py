# A pytest plugin for the tests in Python (-p private_odbc, with this folder on PYTHONPATH):
# a private driver list that names the drivers by their files, so no system ODBC file is
# read or changed.
import os

import pytest

DRIVERS = os.environ.get("KVL_ODBC_DRIVER_DIR", "/usr/lib/x86_64-linux-gnu/odbc")


@pytest.fixture(scope="session", autouse=True)
def private_driver_list(tmp_path_factory):
    folder = tmp_path_factory.mktemp("odbc")
    (folder / "odbcinst.ini").write_text(
        f"[SQLite3]\nDriver={DRIVERS}/libsqlite3odbc.so\n\n"
        f"[PostgreSQL]\nDriver={DRIVERS}/psqlodbcw.so\n")
    (folder / "odbc.ini").write_text("")
    os.environ["ODBCSYSINI"] = str(folder)
    os.environ["ODBCINI"] = str(folder / "odbc.ini")
