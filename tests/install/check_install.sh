#!/usr/bin/env bash
# Installs a built tree into a temporary root and checks what a user gets:
# the installed files against installed-files.txt, the desktop entry and the
# AppStream metainfo under their validators, the manual pages and the
# changelog, the programs run from another folder, and the Debian package's
# control fields and contents, and lintian's verdict on it where lintian is
# installed.
#   check_install.sh <build-folder> <version> <app-id> [<cmake> <cpack>]
set -euo pipefail

build=$(cd "${1:?usage: check_install.sh <build-folder> <version> <app-id> [<cmake> <cpack>]}" && pwd)
version=${2:?version missing}
app_id=${3:?application id missing}
cmake=${4:-cmake}
cpack=${5:-cpack}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

patterns=()
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] || patterns+=("$line")
done < "$here/installed-files.txt"

# check_files <label> <file listing, one path relative to the prefix a line>
check_files() {
  local label=$1 listing=$2 path pattern found
  for pattern in "${patterns[@]}"; do
    found=no
    while IFS= read -r path; do
      # shellcheck disable=SC2053  # the pattern is a glob on purpose
      if [[ $path == $pattern ]]; then found=yes; break; fi
    done <<< "$listing"
    [[ $found == yes ]] || fail "$label: nothing installed as $pattern"
  done
  while IFS= read -r path; do
    [[ -n $path ]] || continue
    found=no
    for pattern in "${patterns[@]}"; do
      # shellcheck disable=SC2053
      if [[ $path == $pattern ]]; then found=yes; break; fi
    done
    [[ $found == yes ]] || fail "$label: $path is installed but not listed in installed-files.txt"
  done <<< "$listing"
}

# --- cmake --install into a temporary root ----------------------------------
root=$work/root
prefix=$root/usr
DESTDIR=$root "$cmake" --install "$build" --prefix /usr > "$work/install.log" \
  || { cat "$work/install.log"; fail "cmake --install failed"; exit 1; }
check_files "install" "$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)"

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
# Clean means no hint either: the validator passes an entry it only hints about.
if ! hints=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $hints ]]; then
  echo "$hints"; fail "desktop-file-validate: $desktop"
fi
appstreamcli validate --no-net --pedantic "$metainfo" > "$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log"; fail "appstreamcli validate: $metainfo"; }
appstreamcli validate-tree --no-net "$root" > "$work/appstream-tree.log" 2>&1 \
  || { cat "$work/appstream-tree.log"; fail "appstreamcli validate-tree: $root"; }

# The entry starts an installed program and shows the installed icon.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[[ -x $prefix/bin/${exec_line%% *} ]] || fail "Exec=$exec_line is not an installed program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "Icon=$icon has no scalable icon"
for png in "$prefix"/share/icons/hicolor/*x*/apps/"$icon".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a ${size} PNG: $(file -b "$png")"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
tr -s ' \n' '  ' < "$metainfo" | grep -q "Access (Jet) databases" || fail "the metainfo does not say that Access (Jet) databases are read"

# The manual pages: compressed, and formatted by man without a warning.
for program in velumir velumir-make-sample-drive; do
  page=$prefix/share/man/man1/$program.1.gz
  gzip -t "$page" 2>/dev/null || { fail "$page is not gzip data"; continue; }
  title=$(zcat "$page" | sed -n 's/^\.TH \([^ ]*\) 1 .*/\1/p')
  [[ ${title//\\/} == "${program^^}" ]] || fail "$page has the title '$title'"
  if command -v man > /dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$warnings"; fail "man warns about $page"; }
  fi
  for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT FILES; do
    zcat "$page" | grep -q "^\.SH $section\$" || fail "$page has no $section"
  done
done
# The changelog, in Debian's format, with this version on top.
changelog=$prefix/share/doc/velumir/changelog.gz
zcat "$changelog" > "$work/changelog" 2>/dev/null || fail "$changelog is not gzip data"
[[ $(dpkg-parsechangelog -l "$work/changelog" -S Version 2>&1) == "$version" ]] \
  || fail "the changelog's latest version is not $version: $(head -1 "$work/changelog")"

# The installed programs run from any folder, with nothing of the build tree.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
(cd / && "$prefix/bin/velumir-make-sample-drive" "$work/drive" > "$work/maker.log" 2>&1) \
  || { cat "$work/maker.log"; fail "the installed velumir-make-sample-drive failed"; }
[[ -n $(find "$work/drive" -iname tormin.udl) ]] || fail "the installed sample-drive maker wrote no drive"
# Velumir runs until it is ended; one that is still running after a while started.
status=0
(cd / && VELUMIR_DRIVE_C=$work/drive timeout 3 "$prefix/bin/velumir" > "$work/velumir.log" 2>&1) || status=$?
[[ $status -eq 124 ]] || { cat "$work/velumir.log"; fail "the installed velumir ended with status $status at start"; }

# --- the Debian package --------------------------------------------------------
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack -G DEB failed"; exit 1; }
deb=$work/package/velumir_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { ls "$work/package"; fail "no package $(basename "$deb")"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == velumir ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version), not $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture: $(field Architecture)"
for name in Maintainer Section Priority Description Installed-Size; do
  [[ -n $(field "$name") ]] || fail "the package has no $name"
done
# Depends computed from the programs' libraries, plus Qt's platform plugins.
depends=$(field Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libsqlite3-0 qt6-qpa-plugins; do
  [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] \
    || fail "Depends lacks $needed: $depends"
done

check_files "package" "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed -n 's|^\./usr/||p' | sort)"
if dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/\|^\./$' >&2; then
  fail "the package puts files outside /usr"
fi
dpkg-deb -x "$deb" "$work/unpacked"
file "$work/unpacked/usr/bin/velumir" | grep -q ', stripped' || fail "the packaged velumir is not stripped"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad=1} END {exit bad}' || fail "the package holds files not owned by root"
cmp -s "$work/unpacked/usr/share/doc/velumir/copyright" "$prefix/share/doc/velumir/copyright" \
  || fail "the package's copyright file differs from the installed one"

# Debian's own checks: no error; warnings are shown.
if command -v lintian > /dev/null; then
  status=0
  lintian --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1 || status=$?
  grep -v '^running with root privileges' "$work/lintian.log" >&2 || true
  if grep -q '^E: ' "$work/lintian.log" || [[ $status -ne 0 ]]; then
    fail "lintian reports errors on $(basename "$deb") (status $status)"
  fi
else
  echo "lintian is not installed: the package's Debian checks were skipped" >&2
fi

if [[ $failures -gt 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install and package checks passed ($(basename "$deb"), Depends: $depends)"
