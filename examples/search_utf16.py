"""Searches a UTF-16 text for a search word with the Python module and prints
each hit with its word and sentence numbers:

    python3 search_utf16.py [TEXT [SEARCH_WORD]]

Without a text, a short one (its sentences marked <s>...</s>) is written to a
scratch file first. Sentence numbers are 0 in texts that mark no sentences.
"""
import pathlib
import sys
import tempfile

import quill

SAMPLE = ("<s>The jury said it did find that many of Georgia's registration laws are outmoded.</s> "
          "<s>The jurors named as foreman a local man.</s> <s>Juries rarely agree so fast.</s>")


def main():
    search = sys.argv[2] if len(sys.argv) > 2 else "jur*"
    with tempfile.TemporaryDirectory() as scratch:
        text = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(scratch) / "sample.txt"
        if len(sys.argv) < 2:
            text.write_text(SAMPLE, encoding="utf-16")
        hits = quill.concord([str(text)], search)
    for hit in hits:
        print(f"word {hit['word']}, sentence {hit['sentence']}: {hit['hit']}")
    print(f"{len(hits)} hit(s)")
    return 0 if hits else 1


if __name__ == "__main__":
    sys.exit(main())
