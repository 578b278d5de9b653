"""Cuts running Chinese and English text, GBK or UTF-8, into sentences.

A binding on ctypes for libVarnel.so:

    >>> import varnel
    >>> varnel.split("你好。Hi there. Bye")
    ['你好。', 'Hi there.', 'Bye']

The library is looked for, in this order: the file that the environment
variable VARNEL_LIBRARY names (when it is set, nothing else is tried), the
file beside this module, then the system loader (LD_LIBRARY_PATH, the loader's
cache and its default directories). It is loaded on the first call of split().

The library holds one splitter for the whole process; a lock held for the
whole of each split() lets any number of threads call it.
"""

import atexit
import codecs
import ctypes
import os
import sys
import threading

__all__ = ["split", "LibraryNotFoundError"]

_LIBRARY_NAME = "Varnel.dll" if sys.platform == "win32" else "libVarnel.so"

# The library's "encode" switch: 1 is UTF-8, any other value GBK.
_ENCODE = {"utf-8": 1, "gbk": 0}

_lock = threading.Lock()
_library = None


class LibraryNotFoundError(OSError):
    """libVarnel could not be loaded; the message lists every place tried."""


def _candidates():
    """Yields (description, path to load) in the order they are tried."""
    explicit = os.environ.get("VARNEL_LIBRARY")
    if explicit:
        # A library named on purpose must not be silently replaced by another.
        yield "VARNEL_LIBRARY=" + explicit, explicit
        return
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), _LIBRARY_NAME)
    yield "beside the module: " + beside, beside
    yield "the system loader: " + _LIBRARY_NAME, _LIBRARY_NAME


def _load():
    tried = []
    for description, path in _candidates():
        if os.sep in path and not os.path.exists(path):
            tried.append(description + " (no such file)")
            continue
        try:
            library = ctypes.CDLL(path)
        except OSError as error:
            tried.append("%s (%s)" % (description, error))
            continue
        library.VN_Init.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        library.VN_Init.restype = ctypes.c_int
        library.VN_Exit.argtypes = []
        library.VN_Exit.restype = None
        library.VN_GetSentence.argtypes = [ctypes.c_char_p, ctypes.c_int]
        # c_char_p copies the sentence into a new bytes object as the call
        # returns, before the next call can overwrite or free it.
        library.VN_GetSentence.restype = ctypes.c_char_p
        library.VN_Init(None, None)
        atexit.register(_exit)
        return library
    raise LibraryNotFoundError(
        "cannot load %s; tried:\n  %s" % (_LIBRARY_NAME, "\n  ".join(tried)))


def _exit():
    """Releases the splitter and its copy of the last text at interpreter exit."""
    global _library
    with _lock:
        if _library is not None:
            _library.VN_Exit()
            _library = None


def _encode_switch(encoding):
    try:
        name = codecs.lookup(encoding).name
    except (LookupError, TypeError):
        name = None
    if name not in _ENCODE:
        raise ValueError("varnel: unsupported encoding %r (use 'utf-8' or 'gbk')" % (encoding,))
    return name, _ENCODE[name]


def _split_bytes(data, encode):
    """The sentences of data; the caller holds _lock."""
    global _library
    if _library is None:
        _library = _load()
    sentences = []
    # A NUL cannot pass the interface, so each NUL-separated piece is split as
    # a text of its own rather than losing what follows the first NUL.
    for piece in data.split(b"\0"):
        if not piece:
            continue
        sentence = _library.VN_GetSentence(piece, encode)
        while sentence:
            sentences.append(sentence)
            sentence = _library.VN_GetSentence(None, encode)
    return sentences


def split(text, encoding="utf-8"):
    """Returns the sentences of text, in order, as a list.

    text is a str, which is encoded with encoding ('utf-8' or 'gbk') and whose
    sentences come back as str; or bytes (or a bytearray) already in that
    encoding, whose sentences come back as bytes. Leading whitespace of each
    sentence is dropped; each keeps its end mark. A NUL ends a text: what
    follows it is split as a text of its own.

    Raises ValueError for another encoding, UnicodeEncodeError for a str that
    the encoding cannot represent, TypeError for other types of text, and
    LibraryNotFoundError when libVarnel cannot be loaded.
    """
    name, encode = _encode_switch(encoding)
    if isinstance(text, str):
        data = text.encode(name)
        with _lock:
            sentences = _split_bytes(data, encode)
        return [sentence.decode(name) for sentence in sentences]
    if isinstance(text, (bytes, bytearray)):
        with _lock:
            return _split_bytes(bytes(text), encode)
    raise TypeError("varnel.split() takes str or bytes, not %s" % type(text).__name__)
