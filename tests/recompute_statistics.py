"""The keyness and collocation statistics recomputed from raw counts, written
out from the published formulas without reference to the library's code, so
that the library's scores can be checked against them."""
import math


def _g_term(observed, expected):
    return observed * math.log(observed / expected) if observed > 0 else 0.0


def keyness(a, b, c, d):
    """a, b: the word's frequency in the target and the reference corpus;
    c, d: their sizes in words."""
    n = c + d
    e1, e2 = c * (a + b) / n, d * (a + b) / n
    ll = 2 * (_g_term(a, e1) + _g_term(b, e2))  # the Lancaster calculator's two terms
    # Yates: each cell's |O - E| shrunk by 0.5, never below 0.
    table = [(a, e1), (b, e2), (c - a, c - e1), (d - b, d - e2)]
    chi2 = sum(max(0.0, abs(o - e) - 0.5) ** 2 / e for o, e in table if e > 0)
    diff = math.inf if b == 0 else (a / c - b / d) * 100 / (b / d)
    log_ratio = math.log2(((a or 0.5) / c) / ((b or 0.5) / d))
    return {"ll": ll, "chi2": chi2, "diff": diff, "logratio": log_ratio, "bic": ll - math.log(n),
            "positive": a * d >= b * c}


def collocation(o, node_freq, coll_freq, span_size, n):
    r1 = node_freq * span_size
    e = r1 * coll_freq / n
    cells = [(o, e), (r1 - o, r1 * (n - coll_freq) / n), (coll_freq - o, (n - r1) * coll_freq / n),
             (n - r1 - coll_freq + o, (n - r1) * (n - coll_freq) / n)]
    dice = 2 * o / (node_freq + coll_freq)
    return {"E": e, "mi": math.log2(o / e), "mi3": math.log2(o ** 3 / e), "t": (o - e) / math.sqrt(o),
            "z": (o - e) / math.sqrt(e), "ll": 2 * sum(_g_term(max(0, x), ex) for x, ex in cells),
            "dice": dice, "logdice": 14 + math.log2(dice),
            "logratio": math.log2(((o or 0.5) / r1) / ((max(0, coll_freq - o) or 0.5) / (n - r1)))}


def agrees(value, expected, relative=1e-9):
    if math.isinf(expected) or math.isinf(value):
        return value == expected
    # Scores that should be 0 (equal proportions) may come out as a rounding error.
    return abs(value - expected) <= relative * max(abs(expected), 1e-3)


def dispersion(frequencies, sizes):
    """Range, Juilland's D, Gries' DP and DPnorm of a word met frequencies[i]
    times in parts of sizes[i] words."""
    n, total_f, total_s = len(sizes), sum(frequencies), sum(sizes)
    relative = [f / s for f, s in zip(frequencies, sizes)]
    mean = sum(relative) / n
    sd = math.sqrt(sum((r - mean) ** 2 for r in relative) / n)
    dp = sum(abs(f / total_f - s / total_s) for f, s in zip(frequencies, sizes)) / 2
    return {"range": sum(1 for f in frequencies if f > 0), "D": 1 - (sd / mean) / math.sqrt(n - 1),
            "DP": dp, "DPnorm": dp / (1 - min(sizes) / total_s)}
