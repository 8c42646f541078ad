#!/usr/bin/env bash
# Runs one libFuzzer target for a while.
#   tools/fuzz.sh TARGET SECONDS [libFuzzer flags...]   fuzz TARGET for SECONDS
#   tools/fuzz.sh --list                               the targets and what they read
# Builds the fuzz preset (clang) when needed. The work corpus, build-fuzz/corpus/TARGET, is
# kept between runs and topped up from the seeds each time: the game's own content, the
# small files in fuzz/seeds/TARGET and the regression corpus fuzz/regressions/TARGET.
# Crashes, timeouts and leaks go to build-fuzz/findings/TARGET; the script says where and
# exits with 1 when the run found something.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(scene prefab orin globals image config)

describe() {
  case "$1" in
    scene) echo "scene file text through the scene loader, then a few engine steps" ;;
    prefab) echo "prefab file text instantiated into an empty scene, then a few engine steps" ;;
    orin) echo "ORIN script text compiled for one entity, then a few engine steps" ;;
    globals) echo "the player's global-variables file: read, saved and read back" ;;
    image) echo "image bytes decoded by Texture2D::Load as .png, .dds, .tga, .bmp and .jpg" ;;
    config) echo "gameConfig.ini text through the window configuration reader" ;;
  esac
}

# Seed files of a target, one per line.
seeds() {
  case "$1" in
    scene) find Resources/Scenes docs/examples -maxdepth 1 -name '*.scene' ;;
    prefab) find Resources/Prefabs docs/examples -name '*.prefab' ;;
    orin) find Resources/Scripts docs/examples/orin -name '*.orin' ;;
    globals) echo Resources/Scripts/GlobalVariables.orin ;;
    image) find Resources/Sprites \( -name '*.png' -o -name '*.dds' \) -size -20k ;;
    config) ;;
  esac
  for folder in "fuzz/seeds/$1" "fuzz/regressions/$1"; do
    if [ -d "$folder" ]; then
      find "$folder" -type f ! -name '*.expected'
    fi
  done
}

# Longest input libFuzzer makes (the largest level is about 72 KB) and seconds per input.
max_len() {
  case "$1" in
    scene) echo 100000 ;;
    prefab | orin) echo 16384 ;;
    image) echo 32768 ;;
    *) echo 4096 ;;
  esac
}
timeout_for() {
  case "$1" in
    scene | orin) echo 20 ;; # a script may switch to a whole level
    *) echo 10 ;;
  esac
}

# Words of the target's language taken from its seeds, so mutations write real keys and
# keywords: quoted JSON strings for scenes and prefabs, tokens for ORIN.
make_dictionary() {
  local target=$1 out=$2
  seeds "$target" | python3 -c '
import re, sys
mode, words = sys.argv[1], set()
for name in sys.stdin.read().split("\n"):
    if not name:
        continue
    text = open(name, "rb").read().decode("latin-1")
    if mode == "json":
        words.update(w for w in re.findall("\"((?:[^\"\\\\]|\\\\.)*)\"", text) if 0 < len(w) <= 40)
    else:
        words.update(w for w in text.split() if len(w) <= 40)
def quoted(word):
    return "\"" + "".join(c if " " <= c <= "~" and c not in "\\\"" else "\\x%02X" % ord(c) for c in word) + "\""
print("\n".join(sorted(quoted(w) for w in words)))
' "$([ "$target" = orin ] && echo words || echo json)" > "$out"
}

if [ "${1:-}" = "--list" ]; then
  for target in "${targets[@]}"; do
    printf '%-8s %s\n' "$target" "$(describe "$target")"
  done
  exit 0
fi
if [ $# -lt 2 ] || [ -z "$(describe "$1")" ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: tools/fuzz.sh TARGET SECONDS [libFuzzer flags...]    (tools/fuzz.sh --list for targets)" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

# 1. Build: configure once, then only what this target needs (two cores at most).
if [ ! -f build-fuzz/build.ninja ]; then
  cmake --preset fuzz >/dev/null
fi
nice -n 10 cmake --build --preset fuzz -j 2 --target "corvalune_fuzz_$target"
binary="$PWD/build-fuzz/fuzz/corvalune_fuzz_$target"

# 2. The work corpus, topped up from the seeds (named by content, so nothing is copied twice).
corpus="$PWD/build-fuzz/corpus/$target"
findings="$PWD/build-fuzz/findings/$target"
mkdir -p "$corpus" "$findings"
while IFS= read -r seed; do
  cp "$seed" "$corpus/$(sha1sum < "$seed" | cut -c1-40)"
done < <(seeds "$target")
dictionary=()
case "$target" in
  scene | prefab | orin)
    make_dictionary "$target" "build-fuzz/$target.dict"
    dictionary=(-dict="$PWD/build-fuzz/$target.dict")
    ;;
esac

# 3. The run, at the lowest priority. The game's own output (stdout) is closed; libFuzzer
# reports on stderr.
marker=$(mktemp)
log="build-fuzz/fuzz-$target.log"
status=0
nice -n 19 "$binary" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
  -timeout="$(timeout_for "$target")" -rss_limit_mb=4096 -close_fd_mask=1 -print_final_stats=1 \
  -artifact_prefix="$findings/" "${dictionary[@]}" "$@" "$corpus" > >(tee "$log") 2>&1 &
pid=$!
wait "$pid" || status=$?
# A run that crashed never removed its scratch folder.
rm -rf "/dev/shm/corvalune-fuzz-$pid-"* "${TMPDIR:-/tmp}/corvalune-fuzz-$pid-"*

# 4. What it found.
found=$(find "$findings" -type f -newer "$marker" | sort)
rm -f "$marker"
echo
echo "log: $log; corpus: $corpus ($(find "$corpus" -type f | wc -l) inputs)"
if [ -n "$found" ]; then
  echo "Findings of this run, in $findings:"
  while IFS= read -r file; do
    echo "  $file"
  done <<< "$found"
  echo "Reproduce with: $binary FILE"
  echo "Once fixed, copy the file into fuzz/regressions/$target/ (optionally with FILE.expected"
  echo "listing log lines the replay must show); the test suite replays it."
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "The fuzzer stopped with status $status and wrote nothing; see $log." >&2
  exit "$status"
fi
echo "Nothing found in $seconds seconds."
