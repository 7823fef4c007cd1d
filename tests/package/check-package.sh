#!/usr/bin/env bash
# Checks of the Debian package:
#   check-package.sh lintian DEB          lintian finds no error (its warnings are printed)
#   check-package.sh files DEB EXPECTED   the file list, the control fields, desktop entry, metainfo
#   check-package.sh install DEB          unpacked into a temporary root, the programs run on a demo
set -uo pipefail
what=$1 deb=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ -f $deb ]] || fail "no package $deb"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

case $what in
lintian)
  # As root lintian would warn about itself; the tags are what counts.
  out=$(lintian --tag-display-limit 0 --display-info "$deb" 2>&1)
  rc=$?
  echo "$out"
  grep -q '^E: ' <<<"$out" && fail "lintian reports errors"
  [[ $rc -eq 0 || $rc -eq 2 ]] || fail "lintian exit code $rc"
  echo "lintian: no errors"
  ;;
files)
  expected=$3
  # Every file and link of the package (directories left out), against the expected list.
  dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort >"$tmp/files"
  diff -u <(grep -v '^#' "$expected" | sed '/^$/d' | sort) "$tmp/files" || fail "file list differs from $expected"
  depends=$(dpkg-deb -f "$deb" Depends)
  for p in libqt6core6 libqt6widgets6 libsqlite3-0 libcurl4 libodbc2 libxlsxwriter4 libc6 \
           libqt6sql6-odbc libqt6svg6 qt6-translations-l10n fonts-dejavu-core fonts-liberation2; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
  done
  recommends=$(dpkg-deb -f "$deb" Recommends)
  [[ $recommends == "tdsodbc, odbc-postgresql" ]] || fail "Recommends: $recommends"
  [[ $(dpkg-deb -f "$deb" Package Version Architecture Section | tr '\n' ' ') == "Package: kovra Version: "*" Architecture: amd64 Section: education " ]] \
    || fail "control: $(dpkg-deb -f "$deb" Package Version Architecture Section)"
  dpkg-deb -e "$deb" "$tmp/control"
  [[ $(cat "$tmp/control/conffiles") == /etc/kovra/kovra.ini ]] || fail "conffiles: $(cat "$tmp/control/conffiles")"
  dpkg -x "$deb" "$tmp/root"
  appstreamcli validate --no-net "$tmp/root/usr/share/metainfo/hu.kovra.kovra.metainfo.xml" || fail "appstreamcli validate"
  desktop-file-validate "$tmp/root/usr/share/applications/hu.kovra.kovra.desktop" | grep -v ': hint: ' | grep . \
    && fail "desktop-file-validate"
  grep -qx 'Name\[hu\]=KOVRA jelenléti nyilvántartás' "$tmp/root/usr/share/applications/hu.kovra.kovra.desktop" || fail "Name[hu]"
  grep -qx 'Categories=Education;Office;' "$tmp/root/usr/share/applications/hu.kovra.kovra.desktop" || fail "Categories"
  # Every program has its Hungarian manual page with an example.
  for b in "$tmp"/root/usr/bin/*; do
    page=$tmp/root/usr/share/man/man1/$(basename "$b").1.gz
    [[ -f $page ]] || fail "no manual page for $(basename "$b")"
    zcat "$page" | grep -q '^\.SH PÉLDA' || fail "no example in $(basename "$page")"
    zcat "$page" | grep -q '^\.SH KILÉPÉSI ÉRTÉK' || fail "no exit codes in $(basename "$page")"
  done
  # Stripped programs without a path into a build folder.
  for b in "$tmp"/root/usr/bin/*; do
    file "$b" | grep -q ', stripped' || fail "$(basename "$b") is not stripped"
    readelf -d "$b" | grep -Eq 'RPATH|RUNPATH' && fail "$(basename "$b") has a run path"
  done
  head -c 4 "$tmp/root/usr/share/doc/kovra/KOVRA.pdf" | grep -q '%PDF' || fail "KOVRA.pdf"
  echo "files: as expected"
  ;;
install)
  dpkg -x "$deb" "$tmp/root"
  bin=$tmp/root/usr/bin
  for b in "$bin"/*; do
    ldd "$b" | grep -q 'not found' && fail "$(basename "$b"): $(ldd "$b" | grep 'not found')"
  done
  export PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen
  demo=$tmp/kovra-demo
  kovra-demo "$demo" --today 2024-10-09 >"$tmp/demo.out" || fail "kovra-demo: $(cat "$tmp/demo.out")"
  ini=$demo/kovra.ini
  students=$(kovra-sql --ini "$ini" -Q "Select count(*) As n From hallgato" | sed -n 2p)
  [[ $students =~ ^[0-9]+$ ]] && (( students >= 500 )) || fail "kovra-sql: $students students"
  [[ $(kovra-sql --ini "$ini" --check) == ok ]] || fail "kovra-sql --check"
  kovra-print --ini "$ini" --user TANULMANYI --password tanulmanyi sheet --semester 2 --lesson 1 "$tmp/sheet.pdf" \
    || fail "kovra-print exit code $?"
  head -c 4 "$tmp/sheet.pdf" | grep -q '%PDF' || fail "kovra-print wrote no PDF"

  # kovra starts to the login window and waits there (killed after 15 s): Qt's accessibility cache
  # names the dialog once it is shown.
  QT_LOGGING_RULES=qt.accessibility.cache.debug=true timeout 15 kovra --ini "$ini" >"$tmp/kovra.out" 2>&1
  rc=$?
  [[ $rc -eq 124 ]] || fail "kovra ended with $rc: $(cat "$tmp/kovra.out")"
  grep 'role=Dialog' "$tmp/kovra.out" | grep 'name = "form_Indito"' | grep -vq invisible \
    || fail "no login window: $(head -c 3000 "$tmp/kovra.out")"
  grep -Eiq 'could not (find|load)|cannot load|failed to load' "$tmp/kovra.out" && fail "kovra: $(grep -Ei 'could not|cannot|failed' "$tmp/kovra.out")"

  # The package's example configuration names no database: kovra says what to do.
  timeout 8 kovra --ini "$tmp/root/etc/kovra/kovra.ini" >"$tmp/none.out" 2>&1
  grep -q "kovra-ini write $tmp/root/etc/kovra/kovra.ini --database" "$tmp/none.out" || fail "no guidance: $(cat "$tmp/none.out")"
  grep -q 'kovra-demo ~/kovra-demo' "$tmp/none.out" || fail "no trial line: $(cat "$tmp/none.out")"
  # kovra-ini fills a copy of the example and keeps its comments.
  cp "$tmp/root/etc/kovra/kovra.ini" "$tmp/etc.ini"
  kovra-ini write "$tmp/etc.ini" --database KOVRA --server "sqlite:$demo" --user demo --password demo || fail "kovra-ini write"
  grep -aq '^;   kovra-demo ~/kovra-demo$' "$tmp/etc.ini" || fail "kovra-ini dropped the comments"
  [[ $(kovra-sql --ini "$tmp/etc.ini" -Q "Select kar_kod From kar Order By kar_kod" | sed -n 2p) == GEK ]] || fail "filled example"

  # The packaged updater refuses to work in the package's folders: nothing is written there.
  before=$(find "$tmp/root" | sort)
  (cd "$tmp/root/usr/share/kovra" && timeout 60 frissites /NINCSINDITAS >"$tmp/upd.out" 2>&1)
  rc=$?
  [[ $rc -eq 103 ]] || fail "frissites exit code $rc: $(cat "$tmp/upd.out")"
  grep -q "^Csomag mappája, nem írom: $tmp/root/usr/share/kovra (munkamappa; a csomagból telepített KOVRA-t a csomagkezelő frissíti)" \
    "$tmp/upd.out" || fail "frissites log: $(cat "$tmp/upd.out")"
  [[ $(find "$tmp/root" | sort) == "$before" ]] || fail "frissites wrote into the package: $(diff <(echo "$before") <(find "$tmp/root" | sort))"
  echo "install: programs run from the unpacked package"
  ;;
*)
  fail "unknown check $what"
  ;;
esac
