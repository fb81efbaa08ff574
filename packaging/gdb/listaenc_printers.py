# SPDX-License-Identifier: MIT
"""GDB pretty-printers for the circular list ListaEnc, in every build.

`print l` shows `ListaEnc with 3 elements = {{key = 10, info = "ana"}, ...}`,
an iterator shows its element or end(), a node its key, info and next.
Loaded by gdb from share/gdb/auto-load, or by hand:
    (gdb) source listaenc_printers.py
"""

import gdb
import gdb.printing

# A circle that a bug has broken may not come back to its first element:
# the walk stops after this many.
MOST = 10000


def element(node):
    return "{key = %d, info = %s}" % (int(node["key"]), node["info"].format_string())


class ListPrinter:
    def __init__(self, value):
        self.value = value

    def to_string(self):
        head = self.value["head"]
        if int(head) == 0:
            return "ListaEnc with 0 elements (no header)"
        first = head["next"]
        texts = []
        at = first
        while int(at) != 0 and len(texts) < MOST:
            texts.append(element(at.dereference()))
            at = at["next"]
            if int(at) == int(first):
                break
        else:
            if int(at) != 0:
                texts.append("...")
        if not texts:
            return "ListaEnc with 0 elements"
        return "ListaEnc with %d elements = {%s}" % (
            len(texts) - (1 if texts[-1] == "..." else 0),
            ", ".join(texts),
        )


class IteratorPrinter:
    def __init__(self, value):
        self.value = value

    def to_string(self):
        at = self.value["element"]
        if int(at) == 0:
            return "end()"
        return element(at.dereference())


class NodePrinter:
    def __init__(self, value):
        self.value = value

    def to_string(self):
        return "{key = %d, info = %s, next = %s}" % (
            int(self.value["key"]),
            self.value["info"].format_string(),
            self.value["next"].format_string(raw=True),
        )


def printers():
    found = gdb.printing.RegexpCollectionPrettyPrinter("listaenc")
    found.add_printer("ListaEnc", r"^listaenc_\w+::ListaEnc$", ListPrinter)
    found.add_printer("iterator", r"^listaenc_\w+::ListaEnc::Iterator<.*>$", IteratorPrinter)
    found.add_printer("node", r"^listaenc_\w+::node$", NodePrinter)
    return found


gdb.printing.register_pretty_printer(gdb.current_objfile(), printers(), replace=True)
