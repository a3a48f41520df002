"""The Python module against the command line on the demo corpus, and its
errors, warnings and arguments on small corpora of its own."""
import json
import os
import pathlib
import subprocess
import warnings

import pytest

import quill

TOP = pathlib.Path(__file__).resolve().parents[2]
BROWN = TOP / "data" / "brown"
QUILL = os.environ.get("QUILL_BINARY", str(TOP / "build" / "src" / "quill" / "quill"))

needs_brown = pytest.mark.skipif(not BROWN.is_dir(), reason="the demo corpus is fetched by scripts/setup")


def cli(*args):
    done = subprocess.run([QUILL, *args], capture_output=True, text=True, check=False)
    assert done.returncode in (0, 1), done.stderr
    return done.stdout


def tsv_pairs(text):
    pairs = []
    for line in text.splitlines():
        item, freq = line.rsplit("\t", 1)
        pairs.append((item, int(freq)))
    return pairs


@needs_brown
def test_wordlist_equals_the_command_line():
    assert quill.wordlist([str(BROWN)], top=40, pos_tags=True) == tsv_pairs(
        cli("wordlist", "--by-freq", "--top", "40", "--pos-tags", str(BROWN)))
    alphabetical = quill.wordlist(str(BROWN), by_freq=False, min_freq=500)
    assert alphabetical == tsv_pairs(cli("wordlist", "--min-freq", "500", str(BROWN)))


@needs_brown
def test_ngrams_equal_the_command_line():
    assert quill.ngrams([str(BROWN)], 3, top=25, pos_tags=True) == tsv_pairs(
        cli("ngrams", "-n", "3", "--by-freq", "--top", "25", "--pos-tags", str(BROWN)))


@needs_brown
def test_concordance_equals_the_command_line():
    hits = quill.concord([str(BROWN)], ["jury", "juries"], pos_tags=True, sort=["R1"])
    lines = [json.loads(line) for line in
             cli("concord", "-s", "jury", "-s", "juries", "--pos-tags", "--sort", "R1", "--format", "json",
                 str(BROWN)).splitlines()]
    assert len(hits) == len(lines) > 0
    for hit, line in zip(hits, lines):
        assert (hit["file"], hit["word"], hit["sentence"], hit["paragraph"]) == \
            (line["file"], line["word"], line["sentence"], line["paragraph"])
        assert (hit["left"], hit["hit"], hit["right"]) == (line["left"], line["centre"], line["right"])
    assert {hit["search"] for hit in hits} == {"jury", "juries"}


@pytest.fixture
def corpus(tmp_path):
    (tmp_path / "sub").mkdir()
    (tmp_path / "a.txt").write_text("<s>The jury said the thing.</s> <s>The jury left.</s>\n")
    (tmp_path / "sub" / "b.txt").write_text("A jury of the people.\n", encoding="utf-16")
    (tmp_path / "notes.md").write_text("jury notes\n")
    return tmp_path


def test_hits_carry_their_numbers_and_corpus_keywords_apply(corpus):
    hits = quill.concord(str(corpus), "jury", mask="*.txt")
    assert [(pathlib.Path(h["file"]).name, h["word"], h["sentence"]) for h in hits] == \
        [("a.txt", 2, 1), ("a.txt", 7, 2), ("b.txt", 2, 0)]
    assert hits[0]["left"] == "The " and hits[0]["right"].startswith(" said the thing.")
    assert len(quill.concord(str(corpus), "jury", mask="*.txt", subfolders=False)) == 2
    assert len(quill.concord(str(corpus), "jury", limit=1)) == 1
    assert quill.concord(str(corpus), "jury", context="left", horizon=1)[0]["word"] == 7


def test_lists_count_every_file(corpus):
    assert dict(quill.wordlist(str(corpus), mask="*.txt"))["jury"] == 3
    assert quill.ngrams(str(corpus), 2, top=1, mask="*.txt") == [("The jury", 2)]


def test_threads_change_nothing_but_the_time(tmp_path):
    # A file large enough to be shared out in pieces or searched window by window.
    big = tmp_path / "big.txt"
    big.write_text("<s>The jury said the thing.</s> <s>A jury of the people left.</s>\n" * 80000)
    (tmp_path / "small.txt").write_text("the jury\n")
    one = dict(threads=1)
    assert quill.wordlist(str(tmp_path), threads=3) == quill.wordlist(str(tmp_path), **one)
    assert quill.ngrams(str(tmp_path), 2, threads=2) == quill.ngrams(str(tmp_path), 2, **one)
    assert quill.concord(str(tmp_path), "jury", threads=2) == quill.concord(str(tmp_path), "jury", **one)
    with pytest.raises(ValueError, match="threads"):
        quill.wordlist(str(tmp_path), threads=-1)


def test_a_saved_walk_is_read_instead_of_the_folders(corpus, tmp_path_factory):
    walk = tmp_path_factory.mktemp("walk") / "corpus.fav"
    subprocess.run([QUILL, "files", "--mask", "*.txt", "--save-favourites", str(walk), str(corpus)],
                   capture_output=True, check=True)
    before = quill.wordlist(str(corpus), mask="*.txt")
    (corpus / "later.txt").write_text("zebras\n")
    assert quill.wordlist([], favourites=str(walk)) == before
    with pytest.raises(RuntimeError, match="Cannot read"):
        quill.wordlist([], favourites=str(corpus / "none.fav"))


def test_bad_requests_are_value_errors_with_the_library_message(corpus):
    with pytest.raises(ValueError, match="unknown language"):
        quill.wordlist(str(corpus), lang="xx")
    with pytest.raises(ValueError, match="nothing to search for"):
        quill.concord(str(corpus), " ")
    with pytest.raises(ValueError, match="between 1 and 100"):
        quill.ngrams(str(corpus), 0)
    with pytest.raises(ValueError, match="unknown sort key"):
        quill.concord(str(corpus), "jury", sort="sideways")
    with pytest.raises(TypeError, match="colour"):
        quill.wordlist(str(corpus), colour="red")


def test_lost_inputs_are_warnings_not_silence(corpus):
    (corpus / "data.bin").write_bytes(b"\x00\x01\x02binary\x00\x00" * 10)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        words = quill.wordlist([str(corpus), str(corpus / "missing")])
    messages = [str(w.message) for w in caught]
    assert any("missing: no such file or folder" in m for m in messages)
    assert any("data.bin" in m and "binary" in m for m in messages)
    assert dict(words)["jury"] == 4
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(RuntimeWarning):
            quill.wordlist(str(corpus / "missing"))
