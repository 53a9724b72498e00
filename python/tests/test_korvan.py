"""The Python package through its public face: arguments, errors, warnings,
plots in memory, and the same bytes as the C gallery programs."""
import os
import subprocess
import warnings

import numpy as np
import pytest

import korvan

GALLERY = os.environ.get("KORVAN_GALLERY_BIN", "")


@pytest.fixture(autouse=True)
def fresh(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    monkeypatch.setenv("SOURCE_DATE_EPOCH", "1700000000")
    yield


def axes_plot():
    x = np.linspace(0, 10, 201, dtype=np.float32)
    korvan.graf(0, 10, 0, 2, -1, 1, -1, 0.5)
    korvan.curve(x, np.sin(x))
    korvan.endgrf()


def test_plot_in_memory_is_the_file_the_same_plot_writes():
    for fmt, ext in (("PNG", "png"), ("PDF", "pdf"), ("SVG", "svg"), ("PS", "ps")):
        with korvan.Plot(fmt) as p:
            axes_plot()
        with korvan.Plot(fmt, file="onfile") as f:
            axes_plot()
        assert f.data is None
        assert open("onfile." + ext, "rb").read() == p.data, fmt
    assert p._repr_png_() is None and p._repr_pdf_() is None
    with korvan.Plot("PNG") as p:
        axes_plot()
    assert p._repr_png_().startswith(b"\x89PNG")
    p.save("saved.png")
    with pytest.raises(FileExistsError):
        p.save("saved.png")
    assert os.listdir(".") == ["saved.png"] or sorted(os.listdir(".")) == [
        "onfile.pdf", "onfile.png", "onfile.ps", "onfile.svg", "saved.png"]


@pytest.mark.parametrize("name", ["stacked", "errbar"])
def test_gallery_programs_and_python_give_the_same_bytes(name, tmp_path):
    if not GALLERY:
        pytest.skip("KORVAN_GALLERY_BIN not set")
    subprocess.run([os.path.join(GALLERY, name), str(tmp_path)], check=True,
                   stdout=subprocess.DEVNULL)
    for fmt, ext in (("PNG", "png"), ("PDF", "pdf")):
        with korvan.Plot(fmt) as p:
            PLOTS[name]()
        assert p.data == (tmp_path / f"{name}.{ext}").read_bytes(), f"{name}.{ext}"


def stacked():
    year = [2019, 2020, 2021, 2022, 2023, 2024]
    parts = [[12, 14, 13, 17, 19, 22], [8, 7, 10, 11, 12, 12], [5, 6, 6, 8, 9, 11]]
    korvan.name("Year", "X")
    korvan.name("Energy in TWh", "Y")
    korvan.labdig(-1, "XY")
    korvan.ticks(1, "X")
    korvan.graf(2018, 2025, 2018, 1, 0, 60, 0, 10)
    korvan.title("Production by source")
    low = np.zeros(6, dtype=np.float32)
    for part, nm, colour in zip(parts, ("solar", "wind", "hydro"), ("ORANGE", "BLUE", "GREEN")):
        high = low + np.float32(part)
        korvan.color(colour)
        korvan.crvnam(nm)
        korvan.barplt(year, low, high)
        low = high
    korvan.color("FORE")
    korvan.legend("UL")
    korvan.endgrf()


def errbar():
    f = np.float32
    t = np.arange(1, 11, dtype=f)
    v = np.array([2.3, 4.1, 5.6, 8.4, 9.7, 12.5, 13.6, 16.2, 17.8, 20.6], dtype=f)
    e = np.array([0.6, 0.5, 0.8, 0.7, 0.9, 0.8, 1.0, 0.9, 1.1, 1.2], dtype=f)
    # The least squares of the C program, in the same single precision and order.
    sx = sy = sxx = sxy = f(0)
    for ti, vi in zip(t, v):
        sx, sy, sxx, sxy = sx + ti, sy + vi, sxx + ti * ti, sxy + ti * vi
    n = f(10)
    b = (n * sxy - sx * sy) / (n * sxx - sx * sx)
    a = (sy - b * sx) / n
    at = np.array([0, 11], dtype=f)
    fit = np.array([a + b * at[0], a + b * at[1]], dtype=f)
    korvan.name("Time in s", "X")
    korvan.name("Distance in m", "Y")
    korvan.labdig(-1, "XY")
    korvan.graf(0, 11, 0, 1, 0, 24, 0, 4)
    korvan.title("Distance over time|with a least-squares fit")
    korvan.color("CYAN")
    korvan.dot()
    korvan.grid(1, 1)
    korvan.solid()
    korvan.color("FORE")
    korvan.crvsym(21)
    korvan.crvlin("OFF")
    korvan.crvnam("measured")
    korvan.curve(t, v)
    korvan.ebary(t, v, e, e)
    korvan.crvsym(-1)
    korvan.crvlin("ON")
    korvan.color("RED")
    korvan.crvnam("fit")
    korvan.curve(at, fit)
    korvan.color("FORE")
    korvan.legend("UL")
    korvan.endgrf()


PLOTS = {"stacked": stacked, "errbar": errbar}


def test_arrays_of_every_kind_draw_the_same():
    x32 = np.linspace(0, 10, 50, dtype=np.float32)
    y32 = np.cos(x32)
    forms = [
        (x32, y32),                                                  # no copy
        (x32.astype(np.float64), y32.astype(np.float64)),            # float64
        (list(map(float, x32)), list(map(float, y32))),              # lists
        (np.repeat(x32, 2)[::2], np.repeat(y32, 2)[::2]),            # not contiguous
    ]
    files = []
    for x, y in forms:
        with korvan.Plot("SVG") as p:
            korvan.graf(0, 10, 0, 2, -1, 1, -1, 0.5)
            korvan.curve(x, y)
            korvan.endgrf()
        files.append(p.data)
    assert all(f == files[0] for f in files)
    # Whole numbers for int arrays: ints, lists, float arrays holding whole numbers.
    korvan.metafl("SVG")
    korvan.outmem("ON")
    korvan.korini()
    korvan.areaf([100, 400, 250], np.array([100, 100, 300.0]))
    korvan.areaf(np.array([100, 400, 250], dtype=np.int64), (100, 100, 300), n=3)
    korvan.korfin()
    korvan.outmem("OFF")


def test_bad_arguments_raise_before_the_library_is_called():
    korvan.metafl("SVG")
    korvan.outmem("ON")
    korvan.korini()
    korvan.graf(0, 10, 0, 2, -1, 1, -1, 0.5)
    cases = [
        (TypeError, lambda: korvan.curve(None, [1, 2])),
        (TypeError, lambda: korvan.curve("abc", [1, 2, 3])),
        (TypeError, lambda: korvan.curve([1, 2], [1, "x"])),
        (TypeError, lambda: korvan.curve([1, 2])),
        (TypeError, lambda: korvan.curve([1, 2], [1, 2], [3])),
        (TypeError, lambda: korvan.curve([1, 2], [1, 2], m=2)),
        (ValueError, lambda: korvan.curve([1, 2], [1, 2, 3])),
        (ValueError, lambda: korvan.curve([1, 2], [1, 2], n=3)),
        (ValueError, lambda: korvan.curve(np.zeros((2, 2)), np.zeros((2, 2)))),
        (TypeError, lambda: korvan.color(3)),
        (TypeError, lambda: korvan.color(None)),
        (ValueError, lambda: korvan.color("RED\0")),
        (ValueError, lambda: korvan.messag("\u03b1", 10, 10)),
        (TypeError, lambda: korvan.linwid(2.5)),
        (TypeError, lambda: korvan.linwid("2")),
        (TypeError, lambda: korvan.linwid(True)),
        (ValueError, lambda: korvan.linwid(2**31)),
        (TypeError, lambda: korvan.areaf([1.5, 2, 3], [1, 2, 3])),
        (TypeError, lambda: korvan.areaf([1, 2, np.nan], [1, 2, 3])),
    ]
    with warnings.catch_warnings():
        warnings.simplefilter("error", korvan.KorvanWarning)  # nothing reaches the library
        for error, call in cases:
            with pytest.raises(error):
                call()
    # NaN in float data is the library's to handle: a gap, no error.
    korvan.curve([1, 2, 3], [0.5, np.nan, 0.2])
    korvan.linwid(3.0)  # a float that is a whole number is taken
    korvan.endgrf()
    korvan.korfin()
    korvan.outmem("OFF")


def test_library_warnings_are_python_warnings_with_number_and_routine(capfd):
    with pytest.warns(korvan.KorvanWarning) as caught:
        korvan.metafl("NOSUCH")
        korvan.xaxgit()
    numbers = [(w.message.number, w.message.routine) for w in caught]
    assert numbers == [(2, "metafl"), (3, "xaxgit")]
    assert "Incorrect parameter" in str(caught[0].message)
    assert caught[0].filename == __file__
    # The console stays quiet: no warning lines, no protocol.
    with korvan.Plot("PNG"):
        pass
    out, err = capfd.readouterr()
    assert "Warning" not in out and "END OF KORVAN" not in out


def test_outputs_are_returned_and_lengths_are_optional():
    assert korvan.nwkday(10, 12, 2026) == 4
    assert korvan.gusrid() == ""
    with korvan.Plot("SVG"):
        korvan.graf(0, 10, 0, 2, 0, 100, 0, 20)
        nx, ny = korvan.usrpos(5.0, 50.0)
        x, y = korvan.posusr(nx, ny)
        assert abs(x - 5.0) < 0.05 and abs(y - 50.0) < 0.5
        data = np.array([0.5, 1.5, 1.6, 9.9, 11.0, np.nan], dtype=np.float32)
        counts = korvan.hstgrm(data, 5, 0.0, 10.0)
        assert counts.tolist() == [3, 0, 0, 0, 1]
        a, e, org, step = korvan.getgrf("X")
        assert (a, e, org, step) == (0.0, 10.0, 0.0, 2.0)
        korvan.endgrf()
    assert korvan.getplv() >= 0
    assert "Draws a polyline" in korvan.curve.__doc__ or korvan.curve.__doc__


def test_every_routine_of_the_header_is_here():
    import re
    header = open(os.path.join(os.path.dirname(__file__), "..", "..", "include", "korvan.h")).read()
    header = re.sub(r"/\*.*?\*/", "", header, flags=re.S)
    plain = set(re.findall(r"\b([a-z][a-z0-9]{0,5})\s*\([^()]*\)\s*;", header))
    plain -= {"wrncbk"}  # the package's own receiver of warnings
    missing = sorted(n for n in plain if not hasattr(korvan, n))
    assert not missing


def test_the_table_is_what_the_generator_makes_of_the_header(tmp_path):
    import sys
    root = os.path.join(os.path.dirname(__file__), "..", "..")
    out = tmp_path / "_routines.py"
    subprocess.run([sys.executable, os.path.join(root, "tools", "pyroutines.py"),
                    os.path.join(root, "include", "korvan.h"), str(out)], check=True)
    committed = open(os.path.join(root, "python", "korvan", "_routines.py")).read()
    assert out.read_text() == committed, "run tools/pyroutines.py include/korvan.h python/korvan/_routines.py"


def test_the_quickstart_notebook_runs_and_holds_its_png(tmp_path):
    import base64
    import json
    import shutil
    nbconvert = shutil.which("jupyter-nbconvert", path="/usr/bin:" + os.environ.get("PATH", ""))
    if not nbconvert:
        pytest.skip("jupyter-nbconvert is not installed")
    root = os.path.join(os.path.dirname(__file__), "..", "..")
    notebook = os.path.join(root, "examples", "python", "quickstart.ipynb")
    subprocess.run([nbconvert, "--to", "notebook", "--execute", "--output", "run.ipynb",
                    "--output-dir", str(tmp_path), notebook], check=True, timeout=300,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    cells = json.load(open(tmp_path / "run.ipynb"))["cells"]
    shown = [o["data"]["image/png"] for c in cells for o in c.get("outputs", [])
             if "image/png" in o.get("data", {})]
    assert len(shown) == 1
    # The same plot made here gives the bytes the notebook shows.
    scope = {}
    for c in cells:
        if c["cell_type"] == "code":
            exec("".join(c["source"]), scope)
    assert base64.b64decode(shown[0]) == scope["p"].data


def test_matrices_are_column_major_and_triangles_come_back():
    x = np.linspace(-1, 1, 21, dtype=np.float32)
    y = np.linspace(-1, 1, 11, dtype=np.float32)
    z = np.add.outer(x * x, y * y)  # z[i, j] at (x[i], y[j])
    pictures = []
    for zz in (z, z.ravel(order="F"), z.astype(np.float64).T.copy().T):
        with korvan.Plot("SVG") as p:
            korvan.graf(-1, 1, -1, 0.5, -1, 1, -1, 0.5)
            korvan.isolin(x, y, zz, 0.5)
            korvan.endgrf()
        pictures.append(p.data)
    assert pictures[0] == pictures[1] == pictures[2]
    assert b"<path" in pictures[0] or b"<polyline" in pictures[0]
    for bad in (z.T, z[:, :5], z.ravel()[:-1]):
        with pytest.raises(ValueError):
            korvan.isolin(x, y, bad, 0.5)
    n, i1, i2, i3 = korvan.delaun([0, 1, 0, 1, 0.5], [0, 0, 1, 1, 0.4], 16)
    assert n == 4 and len(i1) == 16
    assert sorted(set(i1[:n]) | set(i2[:n]) | set(i3[:n])) == [1, 2, 3, 4, 5]
