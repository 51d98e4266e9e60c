#!/usr/bin/env python3
"""Writes the seed corpus in fuzz/corpus/: inputs of every kind the table
tests cover (readable and unreadable numbers, full-width forms, the result's
range and its ties, overflow, empty fields, failing accesses), chosen here for
the fuzzers rather than copied from the tests, which may change on their own.

An input is one options byte, then UTF-16LE texts separated by U+FFFF (see
fuzz/input.h). Run it again after adding cases; libFuzzer finds the rest.
"""
import hashlib
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def encode(options, *texts):
    return bytes([options]) + "\uffff".join(texts).encode("utf-16-le", "surrogatepass")


NUMBERS = ["12", "+12", "-0.05", "-0", "007", ".5", "5.", "1.5e3", "25E-2", " \t327.67\r\n",
           "\u30001\u3000", "１２．５", "－３", "１ｅ２", "9007199254740993", "2.2250738585072014e-308",
           "4.9406564584124654e-324", "1e-400", "1e309", "-1.8e308", "0e999999999999999999",
           "", " ", "+", ".", "e5", "1e", "1e+", "1.5.2", "1,5", "1,000", "inf", "nan", "0x10",
           "1\ud800", "１ ２"]

INTERPOLATIONS = [  # x1, y1, x2, y2, x
    ("1", "1", "3", "5", "2"), ("0", "0", "1", "1", "5"), ("0", "0", "3", "1", "1"),
    ("0", "0", "8", "1", "1"), ("0", "0", "8", "3", "1"), ("0", "0", "1", "1", "327.67"),
    ("0", "0", "1", "1", "327.674"), ("0", "0", "1", "1", "-327.685"), ("0", "0", "1", "1", "327.675"),
    ("0", "0", "1", "1", "400"), ("0", "0", "100", "-0.4", "1"), ("", "", "", "", ""),
    ("1", "1", "1.0", "2", "3"), ("1", "", "2", "2", "3"), ("0", "1.5e308", "1", "-1.5e308", "1"),
    ("-1.5e308", "1", "1", "1", "1.5e308"), ("1e300", "1", "-1e300", "3", "0"),
    (" 0\t", "０", "１", "１", "０．５\n"),
]


def write(folder, name, data):
    path = HERE / "corpus" / folder
    path.mkdir(parents=True, exist_ok=True)
    (path / f"{name}-{hashlib.sha1(data).hexdigest()[:12]}").write_bytes(data)


for text in NUMBERS:
    for separator in (0, 1):
        write("number", "seed", encode(separator, text))
write("number", "seed", encode(1, "0,25"))

for case in INTERPOLATIONS:
    write("interpolate", "seed", encode(0, *case))
    write("interpolate", "seed", encode(1, *(t.replace(".", ",") for t in case)))
for failing in range(1, 8):
    write("interpolate", "seed", encode(failing << 1, *INTERPOLATIONS[0]))

for failing in range(8):
    write("clear", "seed", encode(failing, "1", "3", "2", "1", "5", "3", "x1与x2相等，无法差值"))
