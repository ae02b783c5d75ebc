# Shared by the scripts: the repository root and a root-or-sudo runner.
QUELLIN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# configure_and_build PRESET: configures once, then builds (incrementally).
configure_and_build() {
  local preset="$1"
  if [ ! -f "$QUELLIN_ROOT/build/$preset/build.ninja" ]; then
    cmake --preset "$preset" -S "$QUELLIN_ROOT" >/dev/null
  fi
  cmake --build --preset "$preset" -j2
}

# build_target PRESET DIR TARGET [CMAKE-ARGUMENTS...]: configures DIR from PRESET once (with the
# extra arguments), then builds TARGET in it.
build_target() {
  local preset="$1" dir="$2" target="$3"
  shift 3
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset "$preset" -S "$QUELLIN_ROOT" -B "$dir" "$@" >/dev/null
  fi
  cmake --build "$dir" -j2 --target "$target"
}

# quellin_version: the x.y.z of project(Quellin VERSION x.y.z) in the top-level CMakeLists.txt.
quellin_version() {
  sed -nE 's/^project\(Quellin VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' "$QUELLIN_ROOT/CMakeLists.txt"
}
