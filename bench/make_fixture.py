#!/usr/bin/env python3
"""Makes the generated folders the benchmarks share.

  make_fixture.py texts DIR WORD   2,000 text files of 250 KiB (500 MB); every tenth holds
                                   WORD, every twentieth in capitals
  make_fixture.py files DIR COUNT  COUNT empty-bodied files whose sizes spread over the
                                   size bands (sparse) and dates over about 2.5 years
"""
import os
import random
import sys
import time


def texts(d, word):
    word = word.encode()
    rng = random.Random(7)
    vocab = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")
                   for _ in range(rng.randint(2, 10))) for _ in range(5000)]
    lines = []
    while sum(len(l) for l in lines) < 300_000:
        lines.append(b" ".join(rng.choice(vocab) for _ in range(12)) + b"\n")
    text = b"".join(lines)
    size = 250 * 1024
    for i in range(2000):
        start = (i * 977) % (len(text) - size)
        body = bytearray(text[start:start + size])
        if i % 10 == 0:
            at = rng.randrange(size - len(word))
            body[at:at + len(word)] = word.upper() if i % 20 == 0 else word
        with open(os.path.join(d, "doc%04d.txt" % i), "wb") as f:
            f.write(body)


def files(d, n):
    exts = ["txt", "jpg", "doc", "mp3", "c", "HTML", "", "bin"]
    now = time.time()
    for i in range(n):
        name = "File_%d_%s" % ((i * 7919) % n, chr(97 + i % 26))
        if exts[i % 8]:
            name += "." + exts[i % 8]
        fd = os.open(os.path.join(d, name), os.O_CREAT | os.O_WRONLY, 0o644)
        os.ftruncate(fd, (i * 104729) % 3_000_000)
        t = now - (i % 900) * 86400
        os.utime(fd, (t, t))
        os.close(fd)


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("texts", "files"):
        print(__doc__, file=sys.stderr)
        return 2
    kind, d, arg = sys.argv[1:]
    if kind == "texts":
        texts(d, arg)
    else:
        files(d, int(arg))
    return 0


if __name__ == "__main__":
    sys.exit(main())
