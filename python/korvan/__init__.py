"""KORVAN from Python: every routine of the plotting library under its own
name, with Python arguments, and a `Plot` that keeps its file in memory.

    import korvan
    with korvan.Plot("PNG") as p:
        korvan.graf(0, 10, 0, 2, -1, 1, -1, 0.5)
        korvan.curve(x, y)
        korvan.endgrf()
    p.save("plot.png")

Texts are `str`, numbers are numbers, arrays are any sequence or NumPy array
(a contiguous float32 or int32 array is passed without a copy); lengths are
taken from the arrays, and values the routine writes are returned
(`nx, ny = korvan.usrpos(x, y)`). The library's warnings become Python
warnings of the class `KorvanWarning`; the console stays quiet.
"""
import ctypes
import glob
import inspect
import numbers
import os
import warnings

import numpy as np

from ._routines import ROUTINES

__all__ = ["KorvanWarning", "Plot"]


class KorvanWarning(UserWarning):
    """A warning of the library: its number (0 for the unnumbered notices),
    the routine that gave it and the line the console would show."""

    def __init__(self, number, routine, text):
        super().__init__(text)
        self.number = number
        self.routine = routine
        self.text = text


def _load():
    here = os.path.dirname(os.path.abspath(__file__))
    names = [os.environ.get("KORVAN_LIBRARY", "")]
    # In the package itself, or two folders up: <prefix>/lib next to
    # <prefix>/lib/python3/dist-packages/korvan.
    for folder in (here, os.path.join(here, "..", "..", "..")):
        names += sorted(glob.glob(os.path.join(folder, "libkorvan.so*")), key=len)
        names += glob.glob(os.path.join(folder, "libkorvan.dll"))
    for name in names:
        if name and os.path.exists(name):
            return ctypes.CDLL(os.path.abspath(name))
    raise ImportError("korvan: the shared library libkorvan.so was found neither in "
                      + here + " nor next to the package; set KORVAN_LIBRARY to its path")


_lib = _load()

_CTYPES = {"i": ctypes.c_int, "f": ctypes.c_float, "d": ctypes.c_double}
_DTYPES = {"i": np.int32, "f": np.float32, "d": np.float64}
_PYTYPES = {"i": int, "f": float, "d": float}

# Warnings that arrive while a routine runs; emitted when it returns, so
# that they point at the caller's line and can be turned into errors.
_pending = []


@ctypes.CFUNCTYPE(None, ctypes.c_int, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_void_p)
def _receive(number, routine, text, _data):
    _pending.append((number, routine.decode("latin-1"), text.decode("latin-1")))


def _flush_warnings():
    while _pending:
        number, routine, text = _pending.pop(0)
        warnings.warn(KorvanWarning(number, routine, text), stacklevel=3)


def _number(name, pname, kind, value):
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name}: {pname} must be a number, not {type(value).__name__}")
    if kind == "i":
        if not isinstance(value, numbers.Integral):
            if not float(value).is_integer():
                raise TypeError(f"{name}: {pname} must be a whole number, not {value!r}")
            value = int(value)
        value = int(value)
        if not -2**31 <= value < 2**31:
            raise ValueError(f"{name}: {pname} = {value} does not fit a C int")
    return value


def _text(name, pname, value):
    if not isinstance(value, str):
        raise TypeError(f"{name}: {pname} must be a str, not {type(value).__name__}")
    try:
        data = value.encode("latin-1")
    except UnicodeEncodeError:
        raise ValueError(f"{name}: {pname} holds characters outside Latin-1") from None
    if b"\0" in data:
        raise ValueError(f"{name}: {pname} holds a NUL character")
    return data


def _matrix(name, pname, dtype, value, dims, sizes):
    """A matrix of shape (nx, ny), passed column-major (z[i + j*nx] at
    (x[i], y[j])); a flat array of nx*ny values is taken as it is."""
    if value is None or isinstance(value, (str, bytes)) or np.isscalar(value):
        raise TypeError(f"{name}: {pname} must be a 2-D array, not {type(value).__name__}")
    a = np.asarray(value)
    if a.dtype.kind not in "iuf":
        raise TypeError(f"{name}: {pname} must hold numbers, not {a.dtype}")
    if a.ndim == 2:
        for d, n in zip(dims, a.shape):
            if d in sizes and sizes[d][1] != n:
                raise ValueError(f"{name}: {pname} has {n} values along {d}, "
                                 f"{sizes[d][0]} has {sizes[d][1]}")
            sizes.setdefault(d, (pname, n))
        return np.asfortranarray(a, dtype=dtype).ravel(order="F")
    if a.ndim == 1 and all(d in sizes for d in dims):
        want = sizes[dims[0]][1] * sizes[dims[1]][1]
        if a.size != want:
            raise ValueError(f"{name}: {pname} has {a.size} values, not {want}")
        return np.ascontiguousarray(a, dtype=dtype)
    raise ValueError(f"{name}: {pname} must be a 2-D array of shape ({', '.join(dims)})")


def _array(name, pname, dtype, value):
    if value is None or isinstance(value, (str, bytes)) or np.isscalar(value):
        raise TypeError(f"{name}: {pname} must be a sequence or array, not "
                        f"{type(value).__name__}")
    try:
        a = np.asarray(value)
    except Exception as e:
        raise TypeError(f"{name}: {pname} is not an array of numbers ({e})") from None
    if a.dtype.kind not in "biuf" or a.dtype.kind == "b":
        raise TypeError(f"{name}: {pname} must hold numbers, not {a.dtype}")
    if a.ndim != 1:
        raise ValueError(f"{name}: {pname} must be one-dimensional, not of shape {a.shape}")
    if dtype == np.int32 and a.dtype.kind == "f":
        if not np.all(np.isfinite(a)) or np.any(a != np.round(a)):
            raise TypeError(f"{name}: {pname} must hold whole numbers")
    if a.size and dtype == np.int32 and (a.min() < -2**31 or a.max() >= 2**31):
        raise ValueError(f"{name}: {pname} holds values that do not fit a C int")
    # No copy when it already is a contiguous array of the C type.
    return np.ascontiguousarray(a, dtype=dtype)


def _make(name, result, params, group, levels, doc):
    cfunc = getattr(_lib, name)
    argtypes = []
    for pname, kind, dtype, extra in params:
        if kind in ("i", "f", "d", "len"):
            argtypes.append(_CTYPES.get(kind, ctypes.c_int))
        elif kind in ("str", "outstr"):
            argtypes.append(ctypes.c_char_p)
        else:
            argtypes.append(ctypes.POINTER(_CTYPES[dtype]))
    cfunc.argtypes = argtypes
    cfunc.restype = _CTYPES.get(result) if result else None

    inputs = [p for p in params if p[1] not in ("len", "out", "outstr", "outarr")]
    lengths = [p for p in params if p[1] == "len"]
    outputs = [p for p in params if p[1] in ("out", "outstr", "outarr")]

    def call(*args, **kwargs):
        given = dict(zip((p[0] for p in inputs), args))
        if len(args) > len(inputs):
            raise TypeError(f"{name}() takes {len(inputs)} arguments ({len(args)} given)")
        for k, v in kwargs.items():
            if k in given:
                raise TypeError(f"{name}() got {k} twice")
            if k not in (p[0] for p in inputs + lengths):
                raise TypeError(f"{name}() has no argument {k}")
            given[k] = v
        values, keep, sizes, mats = {}, [], {}, []
        for pname, kind, dtype, extra in inputs:
            if pname not in given:
                raise TypeError(f"{name}() needs its argument {pname}")
            v = given[pname]
            if kind in ("i", "f", "d"):
                values[pname] = _number(name, pname, kind, v)
            elif kind == "str":
                values[pname] = _text(name, pname, v)
            elif kind == "mat":
                mats.append((pname, dtype, extra.split()))
            elif kind == "ref":
                ref = _CTYPES[dtype](_number(name, pname, dtype, v))
                keep.append(ref)
                values[pname] = ctypes.byref(ref)
            else:  # arr
                a = _array(name, pname, _DTYPES[dtype], v)
                keep.append(a)
                if extra in sizes and sizes[extra][1] != a.size:
                    raise ValueError(f"{name}: {pname} has {a.size} values, "
                                     f"{sizes[extra][0]} has {sizes[extra][1]}")
                sizes.setdefault(extra, (pname, a.size))
                values[pname] = a.ctypes.data_as(ctypes.POINTER(_CTYPES[dtype]))
        for pname, dtype, dims in mats:
            a = _matrix(name, pname, _DTYPES[dtype], given[pname], dims, sizes)
            keep.append(a)
            values[pname] = a.ctypes.data_as(ctypes.POINTER(_CTYPES[dtype]))
        for pname, kind, dtype, extra in lengths:
            n = sizes[pname][1] if pname in sizes else 0
            if pname in given:
                want = _number(name, pname, "i", given[pname])
                if want != n:
                    raise ValueError(f"{name}: {pname} = {want}, but the arrays have {n} values")
            values[pname] = n
        results = []
        for pname, kind, dtype, extra in outputs:
            if kind == "outstr":
                buf = ctypes.create_string_buffer(256)
                values[pname] = buf
                results.append(lambda b=buf: b.value.decode("latin-1"))
            elif kind == "outarr":
                n = values[extra] if extra in values else 0
                a = np.zeros(max(int(n), 0), dtype=_DTYPES[dtype])
                values[pname] = a.ctypes.data_as(ctypes.POINTER(_CTYPES[dtype]))
                results.append(lambda a=a: a)
            else:
                ref = _CTYPES[dtype]()
                values[pname] = ctypes.byref(ref)
                results.append(lambda r=ref: r.value)
        r = cfunc(*(values[p[0]] for p in params))
        _flush_warnings()
        out = ([r] if result else []) + [f() for f in results]
        if not out:
            return None
        return out[0] if len(out) == 1 else tuple(out)

    hint = {"i": int, "f": float, "d": float, "str": str, "ref": int}
    if any(p[1] == "mat" for p in inputs):
        hint["mat"] = "numpy.typing.ArrayLike (2-D, nx x ny)"
    sig = [inspect.Parameter(p[0], inspect.Parameter.POSITIONAL_OR_KEYWORD,
                             annotation=hint.get(p[1], "numpy.typing.ArrayLike"))
           for p in inputs]
    sig += [inspect.Parameter(p[0], inspect.Parameter.KEYWORD_ONLY, default=None,
                              annotation="int | None") for p in lengths]
    rtypes = ([_PYTYPES[result]] if result else []) + [
        str if p[1] == "outstr" else np.ndarray if p[1] == "outarr" else _PYTYPES[p[2]]
        for p in outputs]
    ret = None if not rtypes else rtypes[0] if len(rtypes) == 1 else tuple[tuple(rtypes)]
    call.__signature__ = inspect.Signature(sig, return_annotation=ret)
    call.__annotations__ = {p.name: p.annotation for p in sig}
    call.__annotations__["return"] = ret
    call.__name__ = call.__qualname__ = name
    where = f"levels {levels}" if levels else "any level"
    call.__doc__ = (doc or name) + f"\n\n{group.capitalize()}; {where}."
    if lengths:
        call.__doc__ += (" The lengths " + ", ".join(p[0] for p in lengths)
                         + " are taken from the arrays; given, they must agree.")
    return call


for _row in ROUTINES:
    globals()[_row[0]] = _make(*_row)
    __all__.append(_row[0])


def outget():
    """The file of the last plot kept in memory (outmem), as bytes."""
    f = _lib.outget
    f.argtypes = [ctypes.c_char_p, ctypes.c_int]
    f.restype = ctypes.c_int
    n = f(None, 0)
    _flush_warnings()
    if n <= 0:
        return b""
    buf = ctypes.create_string_buffer(n)
    f(buf, n)
    return buf.raw[:n]


__all__.append("outget")

_lib.wrncbk.argtypes = [type(_receive), ctypes.c_void_p]
_lib.wrncbk(_receive, None)
conmsg("OFF")  # noqa: F821  (made from the table above)


class Plot:
    """One plot: `metafl`, `korini` on entry, `korfin` on exit. Without a
    file name the file is kept in memory: `data` holds its bytes after the
    `with` block and `save` writes them. In Jupyter a PNG, SVG or PDF plot
    shows itself."""

    _MIME = {"PNG": "png", "SVG": "svg", "PDF": "pdf"}

    def __init__(self, format="PNG", file=None):
        self.format = format
        self.file = file
        self.data = None

    def __enter__(self):
        metafl(self.format)  # noqa: F821
        if self.file is None:
            outmem("ON")  # noqa: F821
        else:
            outfil(self.file)  # noqa: F821
        korini()  # noqa: F821
        return self

    def __exit__(self, *exc):
        korfin()  # noqa: F821
        if self.file is None:
            self.data = outget()
            outmem("OFF")  # noqa: F821
        return False

    def save(self, path, overwrite=False):
        """Writes the plot's bytes to path; an existing file only with overwrite."""
        if self.data is None:
            raise ValueError("the plot has no bytes in memory (not ended, or written to a file)")
        with open(path, "wb" if overwrite else "xb") as f:
            f.write(self.data)

    def _repr(self, kind):
        key = self.format.strip().upper()[:4].strip()
        if self.data is None or self._MIME.get(key) != kind:
            return None
        return self.data.decode("utf-8") if kind == "svg" else self.data

    def _repr_png_(self):
        return self._repr("png")

    def _repr_svg_(self):
        return self._repr("svg")

    def _repr_pdf_(self):
        return self._repr("pdf")
