# Sourced by the build scripts: sets `launcher` to the CMake option that
# compiles through ccache when it is installed, with paths relative to the
# checkout, so a fresh clone in another folder (as CI makes) reuses what an
# earlier build compiled.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
