# The module's conventions, without a database.
import pytest

import kvl2005


def test_members_keep_their_names_accented_ones_included():
    s = kvl2005.kvlSERV()
    for name in ("AcessoNãoTem", "StackReservaConexões", "MASS_SegueConexão", "Aplicação",
                 "connectionType_Get", "MaxComLar"):
        assert hasattr(s, name), name
    assert hasattr(kvl2005.kvlRES(), "ComLinhas")
    s.Aplicação = "Moradas"
    assert (s.Aplicação, s.MaxComLar) == ("Moradas", 35208)
    assert s.connectionType_Get("oracle8") == kvl2005.tq_dbconnectionORACLE8


@pytest.mark.parametrize("prop, value", [("lStackBase", 40000), ("ErroN", -40000),
                                         ("ErroNativo", 2**31), ("Prompt", 2**70)])
def test_a_value_beyond_a_property_is_an_overflow(prop, value):
    s = kvl2005.kvlSERV()
    before = getattr(s, prop)
    with pytest.raises(kvl2005.Error) as e:
        setattr(s, prop, value)
    assert e.value.number == 6 and getattr(s, prop) == before


def test_arrays_keep_their_bounds():
    a = kvl2005.Array(-1, 1)
    a[-1], a[1] = "x", 2.5
    assert (a.lower, a.upper, len(a), a.tolist()) == (-1, 1, 3, ["x", None, 2.5])
    grid = kvl2005.Array([(1, 2), (0, 1)])
    grid[2, 1] = True
    assert grid.tolist() == [None, None, None, True] and grid.UBound(2) == 1
    for wrong in (lambda: a[2], lambda: grid[1], lambda: grid.LBound(3)):
        with pytest.raises(kvl2005.Error) as e:
            wrong()
        assert e.value.number == 9
    assert kvl2005.Array.of(["a", "b"], lower=1)[2] == "b"


def test_variants_cross_as_python_values():
    holder = kvl2005.Array(0, 0)
    client, server = object(), kvl2005.kvlSERV()
    for value in (None, True, 7, 70000, 1.5, "Sé", kvl2005.Array.of([1, "x"]), client, server):
        holder[0] = value
        assert holder[0] == value and type(holder[0]) is type(value)
    holder[0] = 2**40  # beyond the variant's integers: a double
    assert holder[0] == 2.0**40 and isinstance(holder[0], float)
    holder[0] = client
    assert holder[0] is client  # the caller's own object, not a copy
    holder[0] = [1, "a"]
    assert holder[0] == kvl2005.Array.of([1, "a"])


def test_dialogs_answered_by_a_callable():
    s = kvl2005.kvlSERV()
    assert s.Dialogos is None  # the terminal
    answer = lambda title, text, style: 5  # noqa: E731
    s.Dialogos = answer
    assert s.Dialogos is answer
    with pytest.raises(TypeError):
        s.Dialogos = "not callable"
    s.Dialogos = None
    assert s.Dialogos is None
