"""Cuts running Chinese and English text, GBK or UTF-8, into sentences.

    >>> import varnel
    >>> varnel.split("你好。Hi there. Bye")
    ['你好。', 'Hi there.', 'Bye']

A sentence ends after "。", "！" or "？", after '?', '!', a carriage return or a
line feed, and after a '.' that a blank or the end of the text follows when
every character of the sentence is one byte long. Each sentence keeps its end
mark and loses the whitespace in front of it.

split(), iter_split() and spans() take a text in memory, split_file() a file of
any size. The splitter is compiled into the package (varnel._varnel); every
call uses a splitter of its own and releases the GIL while it scans a long
text, so threads may call any function at once.
"""

from ._files import split_file
from ._varnel import __version__, iter_split, split, spans

__all__ = ["split", "iter_split", "split_file", "spans", "__version__"]
