#!/usr/bin/env python3
"""Checks where scripts/mutants.py plants its faults: python3 scripts/mutants_test.py"""

import unittest

import mutants

# Source text -> the mutations expected in it, as (before, after) in file order.
SITES = [
    ("if (a < b) f();", [("<", "<=")]),
    ("return x >= 2;", [(">=", ">"), ("2", "1")]),
    ("ok = a == b && c != d;", [("==", "!="), ("!=", "==")]),
    ("if (!done) g(); y = !!z;", [("!", ""), ("!", ""), ("!", "")]),
    ("v = t[1018];", [("1018", "1017")]),
    ("n = first + 1;", [("1", "2")]),
    ("n = y - 1;", [("1", "0")]),
    ("if (x == -1) f(-1);", [("==", "!="), ("1", "2")]),
    ("m = v & 0x0F; k = h * 0x0f;", [("0x0f", "0x10")]),
    ("i += 0;", [("0", "1")]),
    ("a = 1'000 * b;", [("1'000", "1001")]),
    # Not comparisons, not in an arithmetic context, or not code at all.
    ("std::vector<int> v; auto c = static_cast<int>(x);", []),
    ("template <typename T> T f();", []),
    ("f(1, 2); return 0; case 3: x = 4;", []),
    ("s = \"a < b\"; c = '<'; r = R\"x(a == b)x\";", []),
    ("// if (a < b)\n/* c == d */ x;", []),
    ("#include <map>\n#pragma once\n#if A == 1\n#endif\n", []),
    ("static_assert(sizeof(int) == 4); Q_ASSERT(!p);", []),
    ("bool operator==(A, B); bool operator!(A);", []),
    ("out << 3; d = 1.5 * x; e = x >> 2;", []),
]


class SitesTest(unittest.TestCase):
  def test_sites(self):
    for source, expected in SITES:
      with self.subTest(source=source):
        found = [(before, after) for _, _, _, before, after in mutants.site_candidates("f.cpp", source)]
        # The direction of a literal's step is fixed by its spot; accept either.
        self.assertEqual(len(found), len(expected), found)
        for (before, after), (want_before, want_after) in zip(found, expected):
          self.assertEqual(before, want_before)
          if want_before.replace("'", "").isdigit() and want_before not in ("0",):
            step = int(after, 0) - int(want_before.replace("'", ""), 0)
            self.assertIn(step, (-1, 1))
          elif want_before.lower().startswith("0x"):
            self.assertIn(int(after, 16) - int(want_before, 16), (-1, 1))
          else:
            self.assertEqual(after, want_after)


class SampleTest(unittest.TestCase):
  def setUp(self):
    body = "bool f(int a, int b) { return a < b || a == b + 1 || !a; }\n"
    self.files = {"big.cpp": (body * 30).encode(), "small.cpp": (body * 10).encode()}
    self.all = mutants.all_mutants(self.files)

  def test_same_seed_same_sample_and_spread_by_size(self):
    first = mutants.sample(self.all, self.files, 8, "7")
    self.assertEqual([m.id for m in first], [m.id for m in mutants.sample(self.all, self.files, 8, "7")])
    self.assertEqual(sum(m.path == "big.cpp" for m in first), 6)
    self.assertNotEqual([m.id for m in first], [m.id for m in mutants.sample(self.all, self.files, 8, "8")])

  def test_a_file_with_too_few_sites_gives_its_share_away(self):
    few = b"int x;\n" * 20 + b"bool g(int a, int b) { return a < b; }\n"
    files = {"big.cpp": self.files["big.cpp"], "few.cpp": few}
    chosen = mutants.sample(mutants.all_mutants(files), files, 40, "1")
    self.assertEqual(len(chosen), 40)
    self.assertEqual(sum(m.path == "few.cpp" for m in chosen), 1)


if __name__ == "__main__":
  unittest.main()
