# The module against real databases: SQLite always, PostgreSQL when reachable.
import pytest

import kvl2005
from conftest import YES, configure_postgres, run


def test_query_end_to_end(session):
    run(session, "CREATE TABLE ruas (codigo INTEGER, nome VARCHAR(40), area DECIMAL(8,2))")
    for code, name in [(1, "Avenida da Liberdade"), (2, "Rua Açores"), (3, None)]:
        value = "NULL" if name is None else f"'{name}'"
        run(session, f"INSERT INTO ruas VALUES ({code}, {value}, 12.5)")

    r = session.Exec("SELECT codigo, nome, area FROM ruas ORDER BY codigo")
    assert (r.Cols, r.ColNome(2), r.Pai.DB) == (3, "nome", session.DB)
    rows = []
    while r.TemLinhas():
        rows.append((r.Col(1), r.XCol("nome"), r.ColSeNull(2)))
    assert rows == [("1", "Avenida da Liberdade", False), ("2", "Rua Açores", False),
                    ("3", "", True)]
    r.Liberta()
    ok, _, _ = session.StackItemGet(1, hConn=0, hStmt=0)
    assert not ok  # the slot was given back


def test_prediction_and_by_reference_outputs(session):
    run(session, "CREATE TABLE t (n INTEGER)")
    for n in range(3):
        run(session, f"INSERT INTO t VALUES ({n})")
    # The command becomes the count batch and is written back with the prediction; these
    # drivers refuse such a batch, so only the shape of what comes back is checked here.
    session.ComMsg = False
    r, batch, predicted = session.Exec("SELECT n FROM t", PreveLinhas=0)
    assert isinstance(r, kvl2005.kvlRES) and isinstance(predicted, int)
    assert batch == session.Exec_ComPrevNumDeLinhas("SELECT n FROM t")
    session.com("SELECT n FROM t")
    assert len(session.Exec(PreveLinhas=0)) == 2  # no command given, none written back
    session.ComMsg = True

    found, values = session.VarCarrega("SELECT n, n + 10 FROM t WHERE n = 2",
                                       kvl2005.Array(0, 1))
    assert found and values.tolist() == ["2", "12"]
    too_short = kvl2005.Array(0, 0)
    with pytest.raises(kvl2005.Error) as e:
        session.VarCarrega("SELECT n, n FROM t", too_short)
    assert e.value.number == 9 and too_short.tolist() == [None]


class PythonList:
    """A list control of the caller: any object with Clear and AddItem."""

    def __init__(self, fail_at=None):
        self.items, self.clears, self.fail_at = [], 0, fail_at

    def Clear(self):
        self.clears += 1
        self.items = []

    def AddItem(self, item):
        if len(self.items) + 1 == self.fail_at:
            raise ValueError("list full")
        self.items.append(item)


class OnlyClear:
    def Clear(self):
        pass


def test_lista_enche_into_a_python_object(session):
    run(session, "CREATE TABLE tipos (codigo VARCHAR(4), descricao VARCHAR(20), ordem INTEGER)")
    for code, text, order in [("R", "Rua", 1), ("AV", "Avenida", 2)]:
        run(session, f"INSERT INTO tipos VALUES ('{code}', '{text}', {order})")

    lista = PythonList()
    codes = session.ListaEnche(lista, "SELECT codigo, descricao FROM tipos ORDER BY ordem")
    assert (lista.clears, lista.items) == (1, ["Rua", "Avenida"])
    assert (codes.lower, codes.upper, codes[-1], codes[1]) == (-1, 1, "", "AV")

    # What the object's member raises reaches the caller unchanged; a member it lacks
    # is error 438; either way the slot is given back.
    with pytest.raises(ValueError, match="list full"):
        session.ListaEnche(PythonList(fail_at=2), "SELECT descricao FROM tipos")
    with pytest.raises(kvl2005.Error) as e:
        session.ListaEnche(OnlyClear(), "SELECT descricao FROM tipos")
    assert e.value.number == 438
    assert session.StackItemGet(1) is False


# Catalog rows: name, type code, length, precision, scale, table id, table name.
CATALOG = [("pequeno", 6, 2, 5, 0, 7, "t"), ("area", 24, 5, 7, 3, 7, "t"),
           ("nome", 2, 40, 0, 0, 7, "t")]


class CatalogRows:
    """Rows read one at a time: any object with TemLinhas and Col."""

    def __init__(self, rows):
        self.rows, self.at = rows, -1

    def TemLinhas(self):
        self.at += 1
        return self.at < len(self.rows)

    def Col(self, n):
        return self.rows[self.at][n - 1]


@pytest.mark.parametrize("source", ["python", "result set"])
def test_field_properties(session, source):
    if source == "python":
        rows = CatalogRows(CATALOG)
    else:
        rows = session.Exec(" UNION ALL ".join(
            "SELECT '{}', {}, {}, {}, {}, {}, '{}'".format(*row) for row in CATALOG))
    session.CamposPropsCarrega(RES=rows)
    info = session.CamposPropsInfo("t", Recursiva_2Vez=True)
    assert (info.LBound(1), info.UBound(1), info.UBound(2)) == (1, 13, 3)
    assert [info[3, n] for n in (1, 2, 3)] == ["pequeno", "area", "nome"]
    assert (info[4, 2], info[8, 2]) == (24, 3)
    assert session.CamposQuerPlicas("nome") and not session.CamposQuerPlicas("area")
    one = session.CamposPropsInfo("t", Recursiva_2Vez=True, Campo="area")
    assert (one.UBound(2), one[3, 1]) == (1, "area")


def test_wrong_subscripts_give_error_9(session):
    r = session.Exec("SELECT 1 AS um")
    assert r.TemLinhas()
    for wrong in (lambda: r.XCol("dois"), lambda: r.Col(2), lambda: r.ColNome(-1),
                  lambda: session.Logs(99)):
        with pytest.raises(kvl2005.Error) as e:
            wrong()
        assert e.value.number == 9


def test_lost_link_question_answered_from_python(session):
    if session.Driver != "PostgreSQL":
        pytest.skip("only a server can end a session")
    session.Dialogos.script = {"Link Failure": YES}
    pid = session.Exec("SELECT pg_backend_pid()")
    assert pid.TemLinhas()
    backend = pid.Col(1)
    pid.Liberta()

    admin = kvl2005.kvlSERV()
    configure_postgres(admin)
    admin.Abre()
    run(admin, f"SELECT pg_terminate_backend({backend})")
    admin.Fecha()

    r = session.Exec("SELECT 1")
    assert r.erro
    titles = [title for title, _, _ in session.Dialogos.asked]
    assert titles[-1] == "Link Failure!" and "link to the server" in session.Dialogos.asked[-1][1]
    # Answered Yes: the session was opened again and works.
    assert session.Aberto
    again = session.Exec("SELECT 2")
    assert again.TemLinhas() and again.Col(1) == "2"
