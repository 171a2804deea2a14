# Windows, menu items, progress forms and languages as plain Python objects: their members
# found by name, the by-reference arguments given back, the library's errors raised. What the
# services do with them is the library's, tested there; one backend suffices here.
import pytest

import kvl2005
from conftest import another_session, run


class Control:
    def __init__(self, Tag="", IsMenuItem=True):
        self.Tag, self.IsMenuItem, self.Enabled = Tag, IsMenuItem, None


class Window:
    """A window of the caller: attributes read and assigned, Move, and its controls."""

    def __init__(self, Caption, BorderStyle=2, controls=()):
        self.Caption, self.BorderStyle, self.Controls = Caption, BorderStyle, list(controls)
        self.WindowState, self.Visible = 0, True
        self.Left, self.Top, self.Width, self.Height = 0, 0, 100, 100

    def Move(self, Left, Top, Width, Height):
        self.Left, self.Top, self.Width, self.Height = Left, Top, Width, Height

    def geometry(self):
        return self.Left, self.Top, self.Width, self.Height, self.WindowState


def raises_error(number, call):
    with pytest.raises(kvl2005.Error) as e:
        call()
    assert e.value.number == number


@pytest.mark.parametrize("session", ["sqlite"], indirect=True)
def test_menu_items_switched_by_the_rights(session):
    run(session, "CREATE TABLE kvlPERM (sPERMuid VARCHAR(40), sPERMemp VARCHAR(40),"
                 " sPERMopc VARCHAR(40), sPERMperm VARCHAR(10))")
    for option, letters in [("ruas.abrir", "a"), ("ruas.apagar", "cngel")]:
        run(session, f"INSERT INTO kvlPERM VALUES ('{session.UID}', '', '{option}', '{letters}')")
    session.TabelaDePerm = "kvlPERM"
    session.TabelaPermCarrega(session.DB)

    items = [Control("ruas.abrir"), Control("ruas.apagar"), Control("ruas.abrir", False)]
    session.TabelaPermVerifica(Window("Ruas", controls=items))
    assert [c.Enabled for c in items] == [True, False, None]
    assert session.TabelaPerm("ruas.apagar", Acesso=0, Eliminar=0) == (True, False, True)

    class NoEnabled:
        Tag, IsMenuItem = "ruas.abrir", True
    raises_error(438, lambda: session.TabelaPermVerifica(Window("x", controls=[NoEnabled()])))
    raises_error(438, lambda: session.TabelaPermVerifica(object()))
    raises_error(91, lambda: session.TabelaPermVerifica(Window("x", controls=[None])))


@pytest.mark.parametrize("session", ["sqlite"], indirect=True)
def test_a_window_placed_where_it_was_left(session):
    run(session, "CREATE TABLE kvlPOS (sPOSuser VARCHAR(40), sPOSform VARCHAR(80),"
                 " iPOSleft INTEGER, iPOStop INTEGER, iPOSwidth INTEGER, iPOSheight INTEGER,"
                 " iPOSstate INTEGER, sPOSobs VARCHAR(255), sPOStabgrelha VARCHAR(255),"
                 " sPOSapp VARCHAR(40))")
    session.TabelaDePos, session.Aplicação = "kvlPOS", "Moradas"
    left = Window("Ruas (12 registos)")
    left.Move(300, 200, 4000, 3000)
    left.WindowState = 2
    assert session.TabelaPosGrava(left, sTitulo=left.Caption, sObs="nota") == "Ruas "
    assert not left.Visible and left.geometry() == (300, 200, 4000, 3000, 2)
    session.Fecha()  # writes the positions
    session.TabelaDePos = ""

    again = another_session(session, TabelaDePos="kvlPOS")
    try:
        window = Window("Ruas")
        assert again.TabelaPosLe(window, sObs="", sTabGrelha="") == (True, "nota", "")
        assert window.geometry() == (300, 200, 4000, 3000, 2)
        only_caption = type("OnlyCaption", (), {"Caption": "Ruas"})()
        raises_error(438, lambda: again.TabelaPosLe(only_caption))
    finally:
        again.Fecha()


class Progress:
    def __init__(self):
        self.shown = []

    def Msg(self, *texts):
        self.shown.append(texts)


class Language:
    def Frase(self, n):
        return f"frase {n}"

    def Palavra(self, n):
        return f"palavra {n}"


@pytest.mark.parametrize("session", ["sqlite"], indirect=True)
def test_lists_collection_with_progress_and_language(session):
    run(session, "CREATE TABLE kvlLST (iLSTlst INTEGER, sLSTconst VARCHAR(20), iLSTtit INTEGER,"
                 " sLSTsql VARCHAR(200))")
    run(session, "INSERT INTO kvlLST VALUES (1, 'TIPOS', 7, 'SELECT codigo FROM tipos')")
    run(session, "INSERT INTO kvlLST VALUES (3, 'VIAS', 8, 'SELECT via FROM vias')")
    session.TabelaDeListas = "kvlLST"
    form = Progress()
    session.TabelasColecçõesCarrega(FormMSG=form, oLingua=Language(), LeTab=False)
    assert form.shown == [("", "frase 511"), ("", "")]
    assert session.TabelasColecçõesItemLstCount() == 3
    assert session.TabelasColecçõesItemLst(0, Tit="") == "3"
    assert session.TabelasColecçõesItemLst(1, Tit="", SQL="") == \
        ("palavra 7", "SELECT codigo FROM tipos")
    raises_error(9, lambda: session.TabelasColecçõesItemLst(4, Tit=""))
    raises_error(438, lambda: session.TabelasColecçõesCarrega(FormMSG=object(), LeTab=False))


@pytest.mark.parametrize("typed, accents, searched", [
    ("São", None, "s[a,á,à,ã,â,ä][o,ó,ò,ô,õ]"),
    ("[O'Neil] Rua", False, "oneil rua"),
])
def test_search_command_and_text_as_searched(typed, accents, searched):
    command, as_searched = kvl2005.kvlSERV().Pesquisa("ruas", "nome", "codigo, nome", typed,
                                                     IgnorarAcentos=accents)
    assert as_searched == searched
    assert "Importancia" in command
