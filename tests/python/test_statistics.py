"""Keywords and collocates of the demo corpus against the statistics
recomputed from raw counts (tests/recompute_statistics.py): the word lists
give the frequencies, the formulas are written out independently."""
import json
import math
import os
import pathlib
import re
import subprocess
import sys

import pytest

import quill

TOP = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(TOP / "tests"))
import recompute_statistics as reference  # noqa: E402

BROWN = TOP / "data" / "brown"
QUILL = os.environ.get("QUILL_BINARY", str(TOP / "build" / "src" / "quill" / "quill"))

needs_brown = pytest.mark.skipif(not BROWN.is_dir(), reason="the demo corpus is fetched by scripts/setup")

KEYNESS = ("ll", "chi2", "diff", "logratio", "bic")
COLLOCATION = ("E", "mi", "mi3", "t", "z", "ll", "dice", "logdice", "logratio")


def press_and_rest():
    files = sorted(p for p in BROWN.iterdir() if re.fullmatch(r"c[a-r][0-9][0-9]", p.name))
    press = [str(p) for p in files if p.name.startswith("ca") and 1 <= int(p.name[2:]) <= 44]
    rest = [str(p) for p in files if not p.name.startswith("ca")]
    return press, rest


def frequencies(paths):
    return {word.casefold(): freq for word, freq in quill.wordlist(paths, pos_tags=True)}


def assert_scores(row, expected, names):
    for name in names:
        assert reference.agrees(row[name], expected[name]), (row.get("word"), name, row[name], expected[name])


@pytest.fixture(scope="module")
def press_keywords():
    press, rest = press_and_rest()
    assert len(press) == 44 and len(rest) == 456
    return press, rest, quill.keywords(press, rest, pos_tags=True, ref_only_words=True)


@needs_brown
def test_keywords_of_the_press_texts_agree_with_the_recomputation(press_keywords):
    press, rest, keywords = press_keywords
    in_press, in_rest = frequencies(press), frequencies(rest)
    c, d = sum(in_press.values()), sum(in_rest.values())
    assert len(keywords) == len(set(in_press) | set(in_rest))
    for row in keywords:
        key = row["word"].casefold()
        a, b = in_press.get(key, 0), in_rest.get(key, 0)
        assert (row["target_freq"], row["ref_freq"], row["target_tokens"], row["ref_tokens"]) == (a, b, c, d)
        expected = reference.keyness(a, b, c, d)
        assert_scores(row, expected, KEYNESS)
        assert row["positive"] == expected["positive"]
    # A dozen words whose direction is plain from the genre.
    by_word = {row["word"].casefold(): row for row in keywords}
    for word in ("said", "mrs", "president", "monday", "yesterday", "league"):
        assert by_word[word]["positive"] and by_word[word]["ll"] > 15.13, word
    for word in ("i", "she", "her", "you", "him", "it"):
        assert not by_word[word]["positive"] and by_word[word]["ll"] > 15.13, word


@needs_brown
def test_keywords_ranking_and_significance(press_keywords):
    press, rest, keywords = press_keywords
    significant = quill.keywords(press, rest, pos_tags=True, ref_only_words=True, p=0.0001, stat="logratio")
    assert significant and all(row["ll"] >= 15.13 for row in significant)
    assert {row["word"] for row in significant} == {row["word"] for row in keywords if row["ll"] >= 15.13}
    positive = [row["logratio"] for row in significant if row["positive"]]
    negative = [row["logratio"] for row in significant if not row["positive"]]
    assert positive == sorted(positive, reverse=True) and negative == sorted(negative)
    assert [row["positive"] for row in significant] == sorted((row["positive"] for row in significant), reverse=True)
    corrected = quill.keywords(press, rest, pos_tags=True, p=0.05, bonferroni=True)
    critical = min(row["ll"] for row in corrected)
    assert critical > 3.84 and len(corrected) < len(quill.keywords(press, rest, pos_tags=True, p=0.05))


@needs_brown
def test_keywords_command_line_json_equals_the_module(press_keywords):
    press, rest, _ = press_keywords
    done = subprocess.run([QUILL, "keywords", *press, "--ref", *rest, "--pos-tags", "--top", "12", "--format", "json",
                           "-q"], capture_output=True, text=True, check=True)
    printed = json.loads(done.stdout)["keywords"]
    module = quill.keywords(press, rest, pos_tags=True, top=12)
    assert [row["word"] for row in printed] == [row["word"] for row in module] and len(module) == 24
    for row, expected in zip(printed, module):
        for name in KEYNESS:
            value = math.inf if row[name] is None else row[name]
            assert reference.agrees(value, expected[name], 1e-11), (row["word"], name)


@needs_brown
def test_collocates_of_time_agree_with_the_recomputation():
    collocates = quill.collocates(str(BROWN), "time", pos_tags=True, min_coll_freq=3)
    words = frequencies(str(BROWN))
    n = sum(words.values())
    assert collocates and collocates[0]["tokens"] == n and collocates[0]["node_freq"] == words["time"]
    for row in collocates:
        assert row["freq"] == words[row["word"].casefold()]
        assert row["O"] == row["left"] + row["right"] >= 3
        expected = reference.collocation(row["O"], row["node_freq"], row["freq"], row["span_size"], n)
        assert_scores(row, expected, COLLOCATION)
    lls = [row["ll"] for row in collocates]
    assert lls == sorted(lls, reverse=True)
    # "same time", "spent ... time", "at the time": collocates any workbench finds.
    top = {row["word"].casefold() for row in collocates[:40]}
    assert {"same", "at", "spent"} <= top


@needs_brown
def test_collocate_thresholds_and_span():
    strict = quill.collocates(str(BROWN), "time", pos_tags=True, thresholds={"mi": 3, "t": 2}, all_thresholds=True)
    assert strict and all(row["mi"] >= 3 and row["t"] >= 2 for row in strict)
    either = quill.collocates(str(BROWN), "time", pos_tags=True, thresholds={"mi": 3, "t": 2})
    assert all(row["mi"] >= 3 or row["t"] >= 2 for row in either) and len(either) > len(strict)
    right_only = quill.collocates(str(BROWN), "time", left=0, right=1, pos_tags=True, stat="freq")
    assert all(row["left"] == 0 and row["O"] == row["right"] for row in right_only)
    assert right_only[0]["span_size"] == 1


@needs_brown
@pytest.mark.parametrize("parts", [0, 20])
def test_dispersion_agrees_with_the_recomputation(parts):
    result = quill.dispersion(str(BROWN), ["jury", "juries"], parts=parts, pos_tags=True)
    words = frequencies(str(BROWN))
    assert result["hits"] == words["jury"] + words["juries"]
    assert result["tokens"] == sum(words.values()) == sum(part["words"] for part in result["parts"])
    assert sum(part["hits"] for part in result["parts"]) == result["hits"]
    if parts:
        assert len(result["parts"]) == parts
        assert max(p["words"] for p in result["parts"]) - min(p["words"] for p in result["parts"]) <= 1
    for part in result["parts"]:
        assert len(part["positions"]) == part["hits"]
        assert all(0 <= x < 1 for x in part["positions"]) and part["positions"] == sorted(part["positions"])
    expected = reference.dispersion([p["hits"] for p in result["parts"]], [p["words"] for p in result["parts"]])
    assert result["range"] == expected["range"]
    assert_scores(result, expected, ("D", "DP", "DPnorm"))
    # A word of the press reports is far from even over the whole corpus.
    assert result["DP"] > 0.5


def test_bad_requests_are_value_errors_and_undefined_measures_nan(tmp_path):
    (tmp_path / "t.txt").write_text("one two three\n")
    with pytest.raises(ValueError, match="p must be"):
        quill.keywords(str(tmp_path), str(tmp_path), p=0.02)
    with pytest.raises(ValueError, match="threshold"):
        quill.collocates(str(tmp_path), "two", thresholds={"logdice": 1})
    with pytest.raises(ValueError, match="fewer words"):
        quill.dispersion(str(tmp_path), "one", parts=4)
    absent = quill.dispersion(str(tmp_path), "four")
    assert absent["hits"] == 0 and math.isnan(absent["D"]) and math.isnan(absent["DP"])
