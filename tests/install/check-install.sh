#!/usr/bin/env bash
# check-install.sh BUILD_DIR WITH_GUI(0|1)
# Installs the build into a scratch prefix, validates what a desktop reads
# (entry, metainfo, man pages, log unit) and runs the installed vantelctl to
# see where it keeps its list. Writes nothing outside its scratch folder: it
# runs packaging's install script, which holds every rule, instead of
# cmake --install, which would write a manifest into the shared build tree.
set -euo pipefail
build="$1"
with_gui="$2"
app_id=org.vantel.Vantel

for tool in desktop-file-validate appstreamcli systemd-analyze man; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; scripts/setup installs it"; exit 1; }
done

scratch="$(mktemp -d "${TMPDIR:-/tmp}/vantel-install-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
# Whatever the tools and the programs keep for the user stays in here too.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_DATA_HOME="$scratch/data"
mkdir -p "$HOME"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_file() { [[ -f "$prefix/$1" ]] || fail "$1 not installed"; }

cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$build/packaging/cmake_install.cmake" >"$scratch/install.log" \
  || { cat "$scratch/install.log"; exit 1; }

for program in vantelctl orvex-sim; do
  [[ -x "$prefix/bin/$program" ]] || fail "bin/$program not installed as a program"
  expect_file "share/man/man1/$program.1.gz"
done
expect_file share/vantel/demo.conf
expect_file share/doc/vantel/copyright
expect_file share/doc/vantel/changelog.gz

# The man pages must format without a single groff complaint.
for page in "$prefix"/share/man/man1/*.1.gz; do
  complaints="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)"
  [[ -z "$complaints" ]] || fail "$(basename "$page"): $complaints"
done

# The log unit runs the installed vantelctl with the instance as the unit name;
# outside /usr and /usr/local it goes where the user manager looks in a home prefix.
unit="$prefix/share/systemd/user/vantel-log@.service"
if [[ -f "$unit" ]]; then
  grep -qx "ExecStart=$prefix/bin/vantelctl log --unit %I \$VANTEL_LOG_OPTIONS" "$unit" \
    || fail "vantel-log@.service does not start $prefix/bin/vantelctl log --unit %I"
  cp "$unit" "$scratch/vantel-log@Tank.service"
  systemd-analyze verify --man=no "$scratch/vantel-log@Tank.service" || fail "vantel-log@.service does not verify"
else
  fail "share/systemd/user/vantel-log@.service not installed"
fi

if [[ "$with_gui" == 1 ]]; then
  [[ -x "$prefix/bin/vantel" ]] || fail "bin/vantel not installed as a program"
  "$prefix/bin/vantel" --help | grep -q '^Usage: vantel' || fail "the installed vantel does not start"
  expect_file share/man/man1/vantel.1.gz
  desktop="$prefix/share/applications/$app_id.desktop"
  metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
  expect_file "share/applications/$app_id.desktop"
  expect_file "share/metainfo/$app_id.metainfo.xml"
  # Hints count too: an entry without a main category hides in a catch-all menu.
  complaints="$(desktop-file-validate "$desktop" 2>&1)" || true
  [[ -z "$complaints" ]] || fail "desktop-file-validate: $complaints"
  appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" \
    || { cat "$scratch/appstream.log"; fail "appstreamcli refuses $app_id.metainfo.xml"; }
  # A desktop finds the icon and the software centre the entry only by these names.
  grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry names another icon"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo launches another desktop entry"
  expect_file "share/icons/hicolor/scalable/apps/$app_id.svg"
  for size in 16 22 24 32 48 64 128 256 512; do
    icon="share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    if [[ -f "$prefix/$icon" ]]; then
      file "$prefix/$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is not $size x $size"
    else
      fail "$icon not installed"
    fi
  done
fi

# An installed vantelctl keeps its list in the user's configuration folder,
# never in the bin folder it shares with other programs, writable or not.
"$prefix/bin/vantelctl" add --name Tank --host 127.0.0.1 --model 0 --codepage UTF-8 >"$scratch/add.log" 2>&1 \
  || { cat "$scratch/add.log"; fail "the installed vantelctl cannot add a unit"; }
[[ -f "$XDG_CONFIG_HOME/vantel/vantel.dat" ]] || fail "the list is not in \$XDG_CONFIG_HOME/vantel/vantel.dat"
"$prefix/bin/vantelctl" list --codepage UTF-8 | grep -q "^Tank	127.0.0.1" || fail "the added unit is not listed"
stray="$(find "$prefix/bin" -type f ! -name vantel ! -name vantelctl ! -name orvex-sim)"
[[ -z "$stray" ]] || fail "files beside the installed programs: $stray"

if ((failures)); then
  echo "$failures install check(s) failed"
  exit 1
fi
echo "install layout: all checks passed"
