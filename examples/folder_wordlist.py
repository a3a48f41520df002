"""Builds the word list of a folder of texts with the Python module and prints
the most frequent words:

    python3 folder_wordlist.py FOLDER [TOP]

Files that cannot be read are named in RuntimeWarnings; nothing is left out
silently.
"""
import sys

import quill


def main():
    if len(sys.argv) < 2:
        print(f"usage: {sys.argv[0]} FOLDER [TOP]", file=sys.stderr)
        return 2
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    words = quill.wordlist([sys.argv[1]], top=top, mask="*.txt")
    for word, frequency in words:
        print(f"{word}\t{frequency}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
