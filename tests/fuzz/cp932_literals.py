#!/usr/bin/env python3
"""Copies a C++ source with the characters of its narrow string and character
literals written as code page 932 bytes in octal escapes ("\\203\\134"), so that a
compiler that only knows UTF-8 as the execution character set (clang) gives the
literals the same bytes as -fexec-charset=CP932 does. Comments and prefixed literals
(L, u, U, u8, whose encoding does not depend on the execution character set) are
copied as they are. A raw narrow literal holding such a character cannot be escaped
and is refused.

usage: cp932_literals.py INPUT OUTPUT
"""
import sys


def escape(ch):
    if ord(ch) < 0x80:
        return ch
    return "".join("\\%03o" % b for b in ch.encode("cp932"))


def convert(text, where):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            # The prefix is the identifier characters right before the quote.
            j = len(out)
            prefix = ""
            k = i - 1
            while k >= 0 and (text[k].isalnum() or text[k] == "_"):
                prefix = text[k] + prefix
                k -= 1
            raw = c == '"' and prefix.endswith("R")
            if raw:
                close = ")" + text[i + 1:text.index("(", i)] + '"'
                end = text.index(close, i) + len(close)
                body = text[i:end]
                if any(ord(ch) >= 0x80 for ch in body) and prefix in ("R",):
                    sys.exit("%s: a raw narrow literal holds a character outside ASCII" % where)
                out.append(body)
                i = end
                continue
            narrow = prefix in ("",) or not any(prefix.endswith(p) for p in ("L", "u", "U", "u8"))
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            body = text[i:j + 1]
            out.append("".join(escape(ch) for ch in body) if narrow else body)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    converted = convert(text, source)
    with open(target, "w", encoding="utf-8", newline="") as f:
        f.write(converted)


if __name__ == "__main__":
    main()
