#!/usr/bin/env python3
"""Mutation testing: plants small faults in the core and counts how many the tests catch.

Each mutant changes one spot of one .cpp file in a scratch copy of a git revision, rebuilds
that copy incrementally and runs every ctest entry against it; the slow suites (the fault
suite) run only for mutants the others let through. The sample is a seeded function of the
mutated folders' sources alone, so two runs with the same seed on revisions whose sources
are equal (say before and after a clean-up of the tests) try the same mutants and their
caught counts compare the two test suites.

  scripts/mutants.py --list                 the sample, without building anything
  scripts/mutants.py -n 12 --seed 7         a small run against HEAD
  scripts/mutants.py --rev main --only 412,977
"""

from __future__ import annotations

import argparse
import concurrent.futures
import dataclasses
import fcntl
import hashlib
import io
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import tempfile
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

# Longest first, so that "<<=" is never read as "<" "<=".
PUNCTUATORS = sorted(
    "<=> <<= >>= ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* ##".split(),
    key=len, reverse=True)
COMPARISON_FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
# "<" and ">" also close and open template argument lists; as comparisons clang-format
# always puts a space on both sides, template brackets never get one.
SPACED_ONLY = {"<", "<=", ">", ">="}
ARITHMETIC = {"+", "-", "*", "/", "%"}
COMPOUND = {"+=", "-=", "*=", "/=", "%="}
# Faults inside these are not behaviour: a compile-time check or a debug-build abort.
GUARDS = {"static_assert", "Q_STATIC_ASSERT", "Q_ASSERT", "Q_ASSERT_X", "assert"}
KEYWORDS_BEFORE_OPERAND = {"return", "case", "co_return", "throw", "else", "do"}
INTEGER = re.compile(
    r"^(?P<digits>0[xX][0-9a-fA-F']+|0[bB][01']+|[0-9][0-9']*)"
    r"(?P<suffix>[uU]?[lL]{0,2}|[lL]{1,2}[uU]|[zZ][uU]?|[uU][zZ])$")
STRING_PREFIXES = {"u8", "u", "U", "L"}
RAW_PREFIXES = {"R", "u8R", "uR", "UR", "LR"}


@dataclasses.dataclass
class Token:
  kind: str  # "id", "num", "str", "punct"
  text: str
  start: int
  end: int
  line: int
  spaced: bool  # whitespace on both sides


@dataclasses.dataclass
class Mutant:
  id: int
  path: str
  line: int
  start: int
  end: int
  op: str
  before: str
  after: str
  context: str  # the whole source line
  column: int


class LexError(Exception):
  pass


def lex(text: str) -> list[Token]:
  """C++ tokens outside comments and preprocessor lines; strings come as one "str" token."""
  tokens: list[Token] = []
  i, line, n = 0, 1, len(text)
  at_line_start = True

  def skip_to_line_end(j: int) -> int:
    while j < n and text[j] != "\n":
      j += 2 if text[j] == "\\" and j + 1 < n else 1
    return j

  def is_space(j: int) -> bool:
    return j < 0 or j >= n or text[j].isspace()

  while i < n:
    c = text[i]
    if c == "\n":
      line += 1
      at_line_start = True
      i += 1
      continue
    if c.isspace():
      i += 1
      continue
    start = i
    if c == "#" and at_line_start:
      i = skip_to_line_end(i)
      line += text.count("\n", start, i)
      continue
    at_line_start = False
    if text.startswith("//", i):
      i = skip_to_line_end(i)
      line += text.count("\n", start, i)
      continue
    if text.startswith("/*", i):
      close = text.find("*/", i + 2)
      if close < 0:
        raise LexError(f"line {line}: unterminated comment")
      i = close + 2
      line += text.count("\n", start, i)
      continue
    kind = None
    if c.isalpha() or c == "_":
      while i < n and (text[i].isalnum() or text[i] == "_"):
        i += 1
      word = text[start:i]
      if i < n and text[i] == '"' and word in RAW_PREFIXES:
        open_paren = text.find("(", i)
        delimiter = ")" + text[i + 1:open_paren] + '"'
        close = text.find(delimiter, open_paren)
        if open_paren < 0 or close < 0:
          raise LexError(f"line {line}: unterminated raw string")
        i, kind = close + len(delimiter), "str"
      elif i < n and text[i] in "\"'" and word in STRING_PREFIXES:
        i, kind = _quoted_end(text, i, line), "str"
      else:
        kind = "id"
    elif c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
      i += 1
      while i < n:
        if text[i] in "eEpP" and i + 1 < n and text[i + 1] in "+-":
          i += 2
        elif text[i].isalnum() or text[i] in "._" or (text[i] == "'" and i + 1 < n and text[i + 1].isalnum()):
          i += 1
        else:
          break
      kind = "num"
    elif c in "\"'":
      i, kind = _quoted_end(text, i, line), "str"
    else:
      for p in PUNCTUATORS:
        if text.startswith(p, i):
          i += len(p)
          break
      else:
        i += 1
      kind = "punct"
    tokens.append(Token(kind, text[start:i], start, i, line, is_space(start - 1) and is_space(i)))
    line += text.count("\n", start, i)
  return tokens


def _quoted_end(text: str, i: int, line: int) -> int:
  quote, j = text[i], i + 1
  while j < len(text) and text[j] != quote:
    if text[j] == "\n":
      raise LexError(f"line {line}: unterminated literal")
    j += 2 if text[j] == "\\" else 1
  return j + 1


def _guarded(tokens: list[Token]) -> set[int]:
  """Indexes of the tokens inside static_assert(...), Q_ASSERT(...) and the like."""
  inside: set[int] = set()
  k = 0
  while k < len(tokens):
    if tokens[k].kind == "id" and tokens[k].text in GUARDS and k + 1 < len(tokens) and tokens[k + 1].text == "(":
      depth, j = 0, k + 1
      while j < len(tokens):
        depth += {"(": 1, ")": -1}.get(tokens[j].text, 0)
        inside.add(j)
        if depth == 0:
          break
        j += 1
      k = j
    k += 1
  return inside


def _ends_operand(tok: Token | None) -> bool:
  if tok is None:
    return False
  if tok.kind == "id":
    return tok.text not in KEYWORDS_BEFORE_OPERAND
  return tok.kind in ("num", "str") or tok.text in (")", "]")


def _is_comparison(tok: Token | None) -> bool:
  return tok is not None and tok.text in COMPARISON_FLIPS and (tok.text not in SPACED_ONLY or tok.spaced)


def _shift_literal(text: str, delta: int) -> str | None:
  m = INTEGER.match(text)
  if not m:
    return None
  digits, suffix = m.group("digits").replace("'", ""), m.group("suffix")
  if digits[:2].lower() == "0x":
    value, width = int(digits, 16), len(digits) - 2
    upper = any(ch.isupper() for ch in digits[2:])
  elif digits[:2].lower() == "0b":
    value = int(digits, 2)
  elif len(digits) > 1 and digits[0] == "0":
    value = int(digits, 8)
  else:
    value = int(digits)
  if value == 0:
    delta = 1  # 0 - 1 would only trade a fault for a sign warning on unsigned operands
  value += delta
  if digits[:2].lower() == "0x":
    body = format(value, f"0{width}x")
    return digits[:2] + (body.upper() if upper else body) + suffix
  if digits[:2].lower() == "0b":
    return digits[:2] + format(value, "b") + suffix
  if len(digits) > 1 and digits[0] == "0":
    return "0" + format(value, "o") + suffix
  return str(value) + suffix


def _literal_in_context(tokens: list[Token], k: int) -> bool:
  before = tokens[k - 1] if k > 0 else None
  after = tokens[k + 1] if k + 1 < len(tokens) else None
  if before is not None and before.text == "-" and not _ends_operand(tokens[k - 2] if k > 1 else None):
    before = tokens[k - 2] if k > 1 else None  # a negative literal: look past the sign
  if _is_comparison(before) or _is_comparison(after):
    return True
  if before is not None and (before.text in COMPOUND or
                             (before.text in ARITHMETIC and _ends_operand(tokens[k - 2] if k > 1 else None))):
    return True
  if after is not None and after.text in ARITHMETIC:
    return True
  return before is not None and after is not None and before.text == "[" and after.text == "]"


def site_candidates(path: str, text: str) -> list[tuple]:
  """Every mutation of one file as (start, end, op, before, after), in file order."""
  tokens = lex(text)
  guarded = _guarded(tokens)
  found = []
  for k, tok in enumerate(tokens):
    if k in guarded:
      continue
    previous = tokens[k - 1] if k > 0 else None
    if previous is not None and previous.text == "operator":
      continue
    if tok.kind == "punct" and _is_comparison(tok):
      found.append((tok.start, tok.end, "comparison", tok.text, COMPARISON_FLIPS[tok.text]))
    elif tok.kind == "punct" and tok.text == "!" and k + 1 < len(tokens) and tokens[k + 1].start == tok.end:
      found.append((tok.start, tok.end, "negation", "!", ""))
    elif tok.kind == "num" and _literal_in_context(tokens, k):
      # Up or down, fixed by the spot itself so that the same sources give the same mutants.
      delta = 1 if int(hashlib.sha1(f"{path}:{tok.start}".encode()).hexdigest(), 16) % 2 else -1
      shifted = _shift_literal(tok.text, delta)
      if shifted is not None:
        found.append((tok.start, tok.end, "literal", tok.text, shifted))
  return found


def code_lines(text: str) -> int:
  """Non-blank, non-comment lines, counted as the project counts code size."""
  return sum(1 for ln in text.splitlines() if not re.match(r"^\s*(//.*)?$", ln))


# ---------------------------------------------------------------------------------------
# Sources of a revision, the sample and its hash


def git(*args: str, binary: bool = False):
  out = subprocess.run(["git", "-C", str(REPO), *args], check=True, capture_output=True)
  return out.stdout if binary else out.stdout.decode().strip()


def revision_sources(commit: str, dirs: list[str], skip: list[str]) -> dict[str, bytes]:
  """Every file under the mutated folders of a commit, path -> bytes."""
  present = [d for d in dirs if git("ls-tree", "--name-only", commit, d.rstrip("/"))]
  if not present:
    sys.exit(f"mutants: none of {', '.join(dirs)} exists in {commit[:12]}")
  archive = git("archive", "--format=tar", commit, *present, binary=True)
  files = {}
  with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
    for member in tar.getmembers():
      if member.isfile() and not any(_under(member.name, s) for s in skip):
        files[member.name] = tar.extractfile(member).read()
  return files


def _under(path: str, folder: str) -> bool:
  folder = folder.rstrip("/")
  return path == folder or path.startswith(folder + "/")


def sources_hash(files: dict[str, bytes]) -> str:
  digest = hashlib.sha256()
  for path in sorted(files):
    digest.update(path.encode() + b"\0" + hashlib.sha256(files[path]).digest())
  return digest.hexdigest()[:16]


def all_mutants(files: dict[str, bytes]) -> list[Mutant]:
  """Every possible mutant, numbered in path and position order."""
  mutants: list[Mutant] = []
  for path in sorted(p for p in files if p.endswith(".cpp")):
    text = files[path].decode("utf-8", "surrogateescape")
    try:
      sites = site_candidates(path, text)
    except LexError as error:
      print(f"mutants: {path} skipped: {error}", file=sys.stderr)
      continue
    for start, end, op, before, after in sites:
      line_start = text.rfind("\n", 0, start) + 1
      line_end = text.find("\n", start)
      line_end = len(text) if line_end < 0 else line_end
      mutants.append(Mutant(len(mutants) + 1, path, text.count("\n", 0, start) + 1, start, end, op,
                            before, after, text[line_start:line_end], start - line_start))
  return mutants


def sample(mutants: list[Mutant], files: dict[str, bytes], count: int, seed: str) -> list[Mutant]:
  """count mutants spread over the files in proportion to their code lines."""
  by_file: dict[str, list[Mutant]] = {}
  for m in mutants:
    by_file.setdefault(m.path, []).append(m)
  count = min(count, len(mutants))
  quota = {p: 0 for p in by_file}
  open_files = set(by_file)
  left = count
  while left > 0 and open_files:
    # Largest remainder over the files that still have unpicked mutants.
    weight = {p: code_lines(files[p].decode("utf-8", "surrogateescape")) for p in open_files}
    total = sum(weight.values())
    share = {p: left * weight[p] / total for p in open_files}
    extra = {p: int(share[p]) for p in open_files}
    rest = left - sum(extra.values())
    for p in sorted(open_files, key=lambda p: (-(share[p] - extra[p]), p))[:rest]:
      extra[p] += 1
    for p in sorted(open_files):
      take = min(extra[p], len(by_file[p]) - quota[p])
      quota[p] += take
      left -= take
      if quota[p] == len(by_file[p]):
        open_files.discard(p)
  chosen = []
  for p in sorted(by_file):
    chosen += random.Random(f"{seed}:{p}").sample(by_file[p], quota[p])
  return sorted(chosen, key=lambda m: m.id)


def describe(m: Mutant, mutated: bool, width: int = 40) -> str:
  """The mutated spot in its line, before or after, cut to about width characters."""
  stripped = m.context.lstrip()
  offset = m.column - (len(m.context) - len(stripped))
  text = stripped[:offset] + (m.after if mutated else m.before) + stripped[offset + len(m.before):]
  left = max(0, offset - width // 2)
  right = left + width
  shown = text[left:right]
  return ("…" if left > 0 else "") + shown + ("…" if right < len(text) else "")


# ---------------------------------------------------------------------------------------
# The scratch tree: a copy of a revision, built once and then incrementally


class Scratch:
  def __init__(self, root: Path, jobs: int):
    self.root = root
    self.src = root / "src"
    self.build = root / "build"
    self.jobs = jobs
    root.mkdir(parents=True, exist_ok=True)
    self._lock = open(root / "lock", "w")
    try:
      fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
      sys.exit(f"mutants: another run is using {root}")

  def checkout(self, commit: str) -> None:
    """Makes src/ equal to the commit, rewriting only the files that differ so that the
    next build stays incremental (and any mutant an interrupted run left is undone)."""
    archive = git("archive", "--format=tar", commit, binary=True)
    wanted: dict[str, tuple[bytes, int]] = {}
    with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
      for member in tar.getmembers():
        if member.isfile():
          wanted[member.name] = (tar.extractfile(member).read(), member.mode)
        elif member.issym():
          wanted[member.name] = (member.linkname.encode(), -1)
    changed = 0
    for path, (data, mode) in wanted.items():
      target = self.src / path
      if mode < 0:
        if not target.is_symlink() or os.readlink(target) != data.decode():
          target.parent.mkdir(parents=True, exist_ok=True)
          if target.exists() or target.is_symlink():
            target.unlink()
          target.symlink_to(data.decode())
          changed += 1
        continue
      if target.is_symlink() or not target.is_file() or target.read_bytes() != data:
        target.parent.mkdir(parents=True, exist_ok=True)
        if target.is_symlink():
          target.unlink()
        target.write_bytes(data)
        os.chmod(target, mode & 0o777)
        changed += 1
    for existing in sorted(self.src.rglob("*"), reverse=True):
      rel = existing.relative_to(self.src).as_posix()
      if existing.is_dir() and not existing.is_symlink():
        if not any(existing.iterdir()):
          existing.rmdir()
      elif rel not in wanted:
        existing.unlink()
        changed += 1
    (self.root / "commit").write_text(commit + "\n")
    print(f"scratch: {self.src} at {commit[:12]} ({changed} file(s) updated)")

  def configure(self) -> None:
    generator = [] if (self.build / "CMakeCache.txt").exists() or not shutil.which("ninja") else ["-G", "Ninja"]
    # Every mutant relinks every test program: lld does that several times faster than ld.
    linker = ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"] if shutil.which("ld.lld") else []
    subprocess.run(["cmake", "-S", str(self.src), "-B", str(self.build), *generator,
                    "-DCMAKE_BUILD_TYPE=Debug", *linker], check=True, stdout=subprocess.DEVNULL)

  def compile(self, timeout: float, targets: list[str] | None = None) -> tuple[bool, str]:
    chosen = ["--target", *targets] if targets else []
    try:
      out = subprocess.run(["cmake", "--build", str(self.build), "--parallel", str(self.jobs), *chosen],
                           capture_output=True, text=True, errors="replace", timeout=timeout)
    except subprocess.TimeoutExpired:
      return False, "build timed out"
    if out.returncode == 0:
      return True, ""
    lines = out.stdout.splitlines()
    first = next((ln for ln in lines if ": error:" in ln), lines[-1] if lines else "build failed")
    return False, first.replace(str(self.src) + "/", "")


# ---------------------------------------------------------------------------------------
# Running the tests


@dataclasses.dataclass
class TestEntry:
  name: str
  command: list[str]
  cwd: str
  env: dict[str, str]
  seconds: float = 0.0
  pass_patterns: list[str] = dataclasses.field(default_factory=list)  # ctest PASS_REGULAR_EXPRESSION
  will_fail: bool = False


@dataclasses.dataclass
class Outcome:
  failed: bool
  how: str  # "" when passed, else "failed", "timeout", "crash (SIGSEGV)"
  cases: list[str]
  seconds: float


def ctest_entries(build: Path) -> list[TestEntry]:
  out = subprocess.run(["ctest", "--test-dir", str(build), "--show-only=json-v1"],
                       check=True, capture_output=True, text=True)
  entries = []
  for test in json.loads(out.stdout)["tests"]:
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    env = dict(os.environ)
    for pair in props.get("ENVIRONMENT", []):
      key, _, value = pair.partition("=")
      env[key] = value
    entries.append(TestEntry(test["name"], test["command"], props.get("WORKING_DIRECTORY", str(build)), env,
                             pass_patterns=props.get("PASS_REGULAR_EXPRESSION", []),
                             will_fail=bool(props.get("WILL_FAIL", False))))
  return entries


_running: set[subprocess.Popen] = set()
_running_lock = threading.Lock()


def run_test(entry: TestEntry, timeout: float, extra: list[str] | None = None,
             cancel: threading.Event | None = None) -> Outcome:
  began = time.monotonic()
  proc = subprocess.Popen(entry.command + (extra or []), cwd=entry.cwd, env=entry.env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
  with _running_lock:
    _running.add(proc)
  output = b""
  how = ""
  try:
    deadline = began + timeout
    while True:
      try:
        output, _ = proc.communicate(timeout=0.5)
        break
      except subprocess.TimeoutExpired:
        if cancel is not None and cancel.is_set():
          _kill(proc)
          proc.communicate()
          return Outcome(False, "cancelled", [], time.monotonic() - began)
        if time.monotonic() > deadline:
          _kill(proc)
          how = "timeout"
          output, _ = proc.communicate()
          break
  finally:
    with _running_lock:
      _running.discard(proc)
  text = output.decode("utf-8", "replace")
  if not how and proc.returncode < 0:
    how = f"crash ({signal.Signals(-proc.returncode).name})"
  elif not how and entry.pass_patterns:
    # As ctest: the output decides, not the exit status.
    if not any(re.search(pattern, text) for pattern in entry.pass_patterns):
      how = "failed"
  elif not how and (proc.returncode != 0) != entry.will_fail:
    how = "failed"
  cases = sorted(set(re.findall(r"^\[  FAILED  \] ([\w/.]+)(?:, where| \(|$)", text, re.M)))
  return Outcome(bool(how), how, cases, time.monotonic() - began)


def _kill(proc: subprocess.Popen) -> None:
  try:
    os.killpg(proc.pid, signal.SIGKILL)
  except ProcessLookupError:
    pass


def kill_running() -> None:
  with _running_lock:
    for proc in list(_running):
      _kill(proc)


class Suite:
  def __init__(self, entries: list[TestEntry], slow: re.Pattern, args):
    self.entries = entries
    self.slow = slow
    self.args = args

  def targets(self) -> list[str]:
    """The programs the tests run (and, through their dependencies, the ones those start)."""
    build = Path(self.args.scratch).resolve() / "build"
    return sorted({Path(e.command[0]).name for e in self.entries
                   if e.command and Path(e.command[0]).resolve().is_relative_to(build)})

  def timeout(self, entry: TestEntry) -> float:
    return max(self.args.timeout_min, self.args.timeout_factor * entry.seconds)

  def baseline(self, cache: Path, tree: str) -> None:
    """Every test must pass on the unmutated tree; their times set the time-outs. A tree
    that passed before in this scratch folder is not run again."""
    known = json.loads(cache.read_text()) if cache.exists() else {}
    if tree in known and set(known[tree]) == {e.name for e in self.entries}:
      for entry in self.entries:
        entry.seconds = known[tree][entry.name]
      print(f"baseline: passed before for tree {tree[:12]}; times from {cache}")
      return
    print(f"baseline: every test once, unmutated ({len(self.entries)} ctest entries)", flush=True)
    for entry in self.entries:
      outcome = run_test(entry, self.args.baseline_timeout)
      entry.seconds = outcome.seconds
      print(f"  {entry.name:28} {outcome.seconds:7.1f} s  {'ok' if not outcome.failed else outcome.how}")
      if outcome.failed:
        sys.exit(f"mutants: {entry.name} fails without any mutant ({outcome.how} {' '.join(outcome.cases)}); "
                 "a mutation count needs a green suite")
    known[tree] = {e.name: round(e.seconds, 2) for e in self.entries}
    cache.write_text(json.dumps(known, indent=1) + "\n")

  def catch(self, m: Mutant) -> str:
    """Name of the test that catches the mutant, or "" when none does."""
    fast = [e for e in self.entries if not self.slow.search(e.name)]
    slow = [e for e in self.entries if self.slow.search(e.name)]
    # The tests of the mutated folder are the likeliest to notice: they go first.
    folder = Path(m.path).parent.name
    fast.sort(key=lambda e: (folder not in e.name.split("_"), e.seconds))
    verdict = self._first_failure(fast, self.args.test_jobs)
    if not verdict:
      verdict = self._first_failure(slow, 1)
    return verdict

  def _first_failure(self, entries: list[TestEntry], jobs: int) -> str:
    if not entries:
      return ""
    cancel = threading.Event()
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
      try:
        return self._drain(pool, list(entries), jobs, cancel)
      except BaseException:
        # Stop the tests still running before the pool waits for them.
        cancel.set()
        kill_running()
        raise

  def _drain(self, pool, queue: list[TestEntry], jobs: int, cancel: threading.Event) -> str:
    """Runs the queue jobs at a time until a test catches the mutant."""
    futures: dict = {}
    found = ""
    while queue or futures:
      while queue and len(futures) < jobs and not cancel.is_set():
        entry = queue.pop(0)
        futures[pool.submit(run_test, entry, self.timeout(entry), None, cancel)] = entry
      if not futures:
        break
      # A short wait keeps the main thread where Ctrl+C can reach it.
      done, _ = concurrent.futures.wait(futures, timeout=0.5, return_when=concurrent.futures.FIRST_COMPLETED)
      for future in done:
        entry = futures.pop(future)
        outcome = future.result()
        if outcome.failed and not cancel.is_set():
          found = self._confirm(entry, outcome)
          if found:
            cancel.set()
            queue.clear()
    return found

  def _confirm(self, entry: TestEntry, outcome: Outcome) -> str:
    """A failure counts once it repeats: the suite has real-time tests that a loaded
    machine can upset. Time-outs and crashes count at once."""
    if outcome.how != "failed":
      return f"{entry.name} ({outcome.how})"
    if not outcome.cases:
      return f"{entry.name}"
    again = run_test(entry, self.timeout(entry), [f"--gtest_filter={':'.join(outcome.cases)}"])
    if not again.failed:
      print(f"    ({entry.name}: {', '.join(outcome.cases)} failed once and then passed: not counted)")
      return ""
    more = f" +{len(outcome.cases) - 1}" if len(outcome.cases) > 1 else ""
    return f"{entry.name} ({outcome.cases[0]}{more})"


# ---------------------------------------------------------------------------------------


def parse_args(argv: list[str]):
  p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                              formatter_class=argparse.RawDescriptionHelpFormatter, epilog=__doc__)
  p.add_argument("-n", "--count", type=int, default=60, help="mutants in the sample (default 60)")
  p.add_argument("--seed", default="1", help="seed of the sample (default 1)")
  p.add_argument("--rev", default="HEAD", help="git revision to mutate and test (default HEAD)")
  p.add_argument("--dirs", default="src/core",
                 help="comma-separated folders whose .cpp files get mutants (default src/core)")
  p.add_argument("--skip", default="src/core/sim,src/sim",
                 help="comma-separated folders left alone (default the simulator: src/core/sim,src/sim)")
  p.add_argument("--only", help="comma-separated mutant ids to run instead of the sample")
  p.add_argument("--list", action="store_true", help="print the sample and stop")
  p.add_argument("--scratch", default=os.environ.get("TERMIKA_MUTANTS_DIR",
                                                     str(Path(tempfile.gettempdir()) / "termika-mutants")),
                 help="scratch folder for the copy and its build (default $TERMIKA_MUTANTS_DIR "
                 "or /tmp/termika-mutants)")
  p.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
  p.add_argument("--test-jobs", type=int, default=2, help="test executables run at once (default 2)")
  p.add_argument("--nice", type=int, default=10, help="niceness of builds and tests (default 10)")
  p.add_argument("--slow", default="faults",
                 help="regex of the ctest entries run only for mutants the others miss (default faults)")
  p.add_argument("--timeout-factor", type=float, default=3.0,
                 help="a test times out after this many times its unmutated duration (default 3)")
  p.add_argument("--timeout-min", type=float, default=30.0, help="shortest time-out in seconds (default 30)")
  p.add_argument("--baseline-timeout", type=float, default=1800.0, help=argparse.SUPPRESS)
  p.add_argument("--build-timeout", type=float, default=1800.0, help=argparse.SUPPRESS)
  p.add_argument("--report", help="also write the table as Markdown to this file")
  return p.parse_args(argv)


def main(argv: list[str]) -> int:
  args = parse_args(argv)
  dirs = [d.strip().rstrip("/") for d in args.dirs.split(",") if d.strip()]
  skip = [d.strip().rstrip("/") for d in args.skip.split(",") if d.strip()]
  try:
    commit = git("rev-parse", "--verify", f"{args.rev}^{{commit}}")
  except subprocess.CalledProcessError:
    sys.exit(f"mutants: {args.rev} is not a revision of {REPO}")
  files = revision_sources(commit, dirs, skip)
  mutants = all_mutants(files)
  if args.only:
    wanted = {int(x) for x in args.only.split(",") if x.strip()}
    chosen = [m for m in mutants if m.id in wanted]
    missing = wanted - {m.id for m in chosen}
    if missing:
      sys.exit(f"mutants: no mutant {', '.join(map(str, sorted(missing)))} (ids run 1..{len(mutants)})")
  else:
    chosen = sample(mutants, files, args.count, args.seed)
  source_hash = sources_hash(files)
  cpp = sorted(p for p in files if p.endswith(".cpp"))
  print(f"revision {commit[:12]} ({args.rev}); mutated folders {', '.join(dirs)} (without {', '.join(skip)})")
  print(f"sources hash {source_hash}: {len(cpp)} .cpp files, {len(mutants)} possible mutants; "
        f"seed {args.seed}, {len(chosen)} chosen")
  if args.list:
    for m in chosen:
      place = f"{m.path}:{m.line}"
      print(f"#{m.id:<5} {place:44} {m.op:10}  {describe(m, False):42}  ->  {describe(m, True)}")
    return 0

  if args.nice:
    os.nice(args.nice)
  signal.signal(signal.SIGTERM, _interrupt)
  dirty = git("status", "--porcelain", "--", "src", "tests")
  if args.rev == "HEAD" and dirty:
    print("note: uncommitted changes under src/ or tests/ are not part of this run (it tests the commit)")
  scratch = Scratch(Path(args.scratch), args.jobs)
  scratch.checkout(commit)
  scratch.configure()
  print("building the unmutated copy ...", flush=True)
  ok, error = scratch.compile(args.build_timeout)
  if not ok:
    sys.exit(f"mutants: the unmutated copy does not build: {error}")
  suite = Suite(ctest_entries(scratch.build), re.compile(args.slow), args)
  suite.baseline(scratch.root / "baseline.json", git("rev-parse", f"{commit}^{{tree}}"))

  results: list[tuple[Mutant, str, str, float]] = []
  began = time.monotonic()
  interrupted = False
  try:
    for index, m in enumerate(chosen, 1):
      t0 = time.monotonic()
      result, detail = run_mutant(m, scratch, suite, args)
      seconds = time.monotonic() - t0
      results.append((m, result, detail, seconds))
      elapsed = time.monotonic() - began
      left = elapsed / index * (len(chosen) - index)
      print(f"[{index}/{len(chosen)}] #{m.id} {m.path}:{m.line} {m.op} `{describe(m, False)}` -> "
            f"`{describe(m, True)}`: {result}"
            f"{' by ' + detail if result == 'caught' else ''} ({seconds:.0f} s; {_clock(elapsed)} so far, "
            f"about {_clock(left)} left)", flush=True)
  except KeyboardInterrupt:
    interrupted = True
    kill_running()
    print("\ninterrupted: the results so far follow")
  finally:
    # Whatever happened, the copy goes back to the commit.
    scratch.checkout(commit)

  print_table(results, commit, args, source_hash, time.monotonic() - began, interrupted)
  return 130 if interrupted else 0


def run_mutant(m: Mutant, scratch: Scratch, suite: Suite, args) -> tuple[str, str]:
  target = scratch.src / m.path
  original = target.read_bytes()
  text = original.decode("utf-8", "surrogateescape")
  if text[m.start:m.end] != m.before:
    sys.exit(f"mutants: {m.path} in the scratch copy differs from the revision")
  target.write_bytes((text[:m.start] + m.after + text[m.end:]).encode("utf-8", "surrogateescape"))
  try:
    built, error = scratch.compile(args.build_timeout, suite.targets())
    if not built:
      return "not viable", error
    verdict = suite.catch(m)
    return ("caught", verdict) if verdict else ("survived", "")
  finally:
    target.write_bytes(original)


def _interrupt(signum, frame):
  raise KeyboardInterrupt


def _clock(seconds: float) -> str:
  seconds = int(seconds)
  return f"{seconds // 3600}:{seconds // 60 % 60:02}:{seconds % 60:02}" if seconds >= 3600 else \
      f"{seconds // 60}:{seconds % 60:02}"


def print_table(results, commit: str, args, source_hash: str, elapsed: float, interrupted: bool) -> None:
  rows = [(f"#{m.id}", f"{m.path.removeprefix('src/')}:{m.line}", m.op, describe(m, False), describe(m, True),
           result + (f": {detail}" if detail else ""), f"{seconds:.0f}") for m, result, detail, seconds in results]
  header = ("id", "file:line", "operator", "before", "after", "result", "s")
  widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
  print()
  for row in [header] + rows:
    print("  ".join(str(cell).ljust(w) for cell, w in zip(row, widths)).rstrip())
  counts = {k: sum(1 for r in results if r[1] == k) for k in ("caught", "survived", "not viable")}
  viable = counts["caught"] + counts["survived"]
  score = f"{100 * counts['caught'] / viable:.1f} %" if viable else "n/a"
  per = elapsed / len(results) if results else 0
  summary = (f"caught {counts['caught']}, survived {counts['survived']}, not viable {counts['not viable']}; "
             f"caught {score} of the viable; {len(results)} mutants in {_clock(elapsed)} "
             f"({per:.0f} s each){' (interrupted)' if interrupted else ''}")
  identity = f"revision {commit[:12]}, sources hash {source_hash}, seed {args.seed}, " + (
      f"only {args.only}" if args.only else f"sample of {args.count}")
  print(f"\n{identity}\n{summary}")
  if args.report:
    lines = [f"# Mutants\n", f"{identity}\n", f"{summary}\n", "| " + " | ".join(header) + " |",
             "|" + "---|" * len(header)]
    for row in rows:
      lines.append("| " + " | ".join(str(c).replace("|", "\\|") if i not in (3, 4) else
                                      "`" + str(c).replace("|", "\\|") + "`" for i, c in enumerate(row)) + " |")
    Path(args.report).write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
  try:
    sys.exit(main(sys.argv[1:]))
  except KeyboardInterrupt:
    kill_running()
    sys.exit(130)
