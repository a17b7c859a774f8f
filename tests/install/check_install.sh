#!/usr/bin/env bash
# An install into a staging folder, checked as a desktop and a player see it: every file in its
# place and accepted by the desktop's own checkers, then both installed programs started with a
# fresh home folder, with XDG folders of their own and with a home that cannot be written, and a
# copy of the program folder run writable and read-only. The installed tree must come out as it
# went in.
#   check_install.sh BUILD_DIR PROGRAM_DIR FLIGHT.rpl
set -u
build=${1:?build folder}
program=${2:?program folder}
flight=${3:?recorded flight}

work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

stage=$work/stage
if ! DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    exit 1
fi
usr=$stage/usr
data=$usr/share/starwake

# --- Every file in its place -----------------------------------------------------------------
for binary in corvane CorvaneConfig; do
    [ -x "$usr/bin/$binary" ] || fail "bin/$binary is missing"
done
missing=$(cd "$program" && find . -type f ! -name corvane ! -name CorvaneConfig ! -name .generated |
    while read -r file; do [ -f "$data/$file" ] || echo "$file"; done)
[ -z "$missing" ] || fail "not installed into share/starwake: $(echo "$missing" | head -5 | tr '\n' ' ')"
for shipped in Config.txt Scores.dat; do
    cmp -s "$build/shipped/$shipped" "$data/$shipped" || fail "share/starwake/$shipped is not the shipped one"
done
for id in org.starwake.Corvane org.starwake.CorvaneConfig; do
    entry=$usr/share/applications/$id.desktop
    if [ -f "$entry" ]; then
        report=$(desktop-file-validate "$entry" 2>&1) || fail "$entry: $report"
        grep -q '^Categories=.*Game;' "$entry" || fail "$entry is not in the Game category"
    else
        fail "$entry is missing"
    fi
    for size in 16 32 48 64 128 256; do
        icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
        kind=$(file -b "$icon" 2>&1)
        case $kind in
            "PNG image data, $size x $size, 8-bit/color RGBA"*) ;;
            *) fail "$icon: $kind" ;;
        esac
    done
done
metainfo=$usr/share/metainfo/org.starwake.Corvane.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "$metainfo: $report"
for page in corvane CorvaneConfig; do
    manual=$usr/share/man/man6/$page.6.gz
    if [ ! -f "$manual" ]; then
        fail "$manual is missing"
        continue
    fi
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.6 warns: $warnings"
done
# The game's page names every word the game takes and every variable the programs read.
text=$(LC_ALL=C MANWIDTH=200 man -l "$usr/share/man/man6/corvane.6.gz" 2>/dev/null)
for word in SHOWFPS --level --record --play --timedemo --trace --uncapped --windowed --fullscreen \
    CORVANE_WINDOWED XDG_CONFIG_HOME XDG_DATA_HOME HOME Config.txt Scores.dat; do
    grep -q -- "$word" <<<"$text" || fail "corvane.6 does not describe $word"
done

# --- The programs as a player starts them ----------------------------------------------------
checksum() { (cd "$1" && find . -type f -exec md5sum {} + | sort | md5sum); }
tree=$(checksum "$stage")

# Both run as the user in as_player (the test's own when empty).
as_player=()
# Runs the game through the recorded flight; its standard error lands in $work/game.err.
game() {
    local exe=$1
    shift
    "${as_player[@]}" env -u XDG_CONFIG_HOME -u XDG_DATA_HOME "$@" "$exe" --timedemo "$flight" \
        >"$work/game.out" 2>"$work/game.err"
    local code=$?
    [ $code -eq 0 ] || fail "corvane ended with status $code: $(cat "$work/game.err")"
    grep -q "state digest" "$work/game.out" || fail "corvane did not finish the flight: $(cat "$work/game.err")"
}
# Opens the launcher until it has said where the player's files are; its standard error lands in
# $work/launcher.err.
launcher() {
    local exe=$1
    shift
    : >"$work/launcher.err"
    "${as_player[@]}" env -u XDG_CONFIG_HOME -u XDG_DATA_HOME "$@" "$exe" 2>"$work/launcher.err" &
    local pid=$!
    for _ in $(seq 300); do
        grep -q "player files:" "$work/launcher.err" && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
}
said() { grep -o "player files: .*" "$1"; }
expect_files() {
    local keys=$1 scores=$2
    local want="player files: keys in $keys, high scores in $scores"
    [ "$(said "$work/game.err")" = "$want" ] || fail "the game said '$(said "$work/game.err")', not '$want'"
    [ "$(said "$work/launcher.err")" = "$want" ] || fail "the launcher said '$(said "$work/launcher.err")', not '$want'"
}

# Installed, a fresh home, no XDG variables: the files are seeded into ~/.config and ~/.local/share.
home=$work/home
mkdir -p "$home"
launcher "$usr/bin/CorvaneConfig" HOME="$home"
game "$usr/bin/corvane" HOME="$home"
expect_files "$home/.config/starwake/Config.txt" "$home/.local/share/starwake/Scores.dat"
cmp -s "$home/.config/starwake/Config.txt" "$data/Config.txt" || fail "Config.txt was not seeded"
cmp -s "$home/.local/share/starwake/Scores.dat" "$data/Scores.dat" || fail "Scores.dat was not seeded"

# XDG folders of the player's own.
launcher "$usr/bin/CorvaneConfig" HOME="$home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
game "$usr/bin/corvane" HOME="$home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
expect_files "$work/config/starwake/Config.txt" "$work/share/starwake/Scores.dat"

# A home that cannot be written (a file in its place): both say so, and the game plays on.
: >"$work/not-a-folder"
launcher "$usr/bin/CorvaneConfig" HOME="$work/not-a-folder"
game "$usr/bin/corvane" HOME="$work/not-a-folder"
expect_files "$data/Config.txt (read only)" "$data/Scores.dat (read only)"
grep -q "$work/not-a-folder/.config/starwake: cannot make the folder" "$work/game.err" ||
    fail "the game did not say why: $(cat "$work/game.err")"
grep -q "cannot make the folder" "$work/launcher.err" || fail "the launcher did not say why: $(cat "$work/launcher.err")"

[ "$(checksum "$stage")" = "$tree" ] || fail "the installed tree was written"

# A portable copy of the program folder: writable, the files stay beside the programs.
portable=$work/portable
cp -a "$program" "$portable"
home=$work/home-portable
mkdir -p "$home"
launcher "$portable/CorvaneConfig" HOME="$home"
game "$portable/corvane" HOME="$home"
expect_files "$portable/Config.txt" "$portable/Scores.dat"
[ -z "$(ls -A "$home")" ] || fail "a writable program folder wrote into the home folder"

# The same copy read-only. Root writes anywhere, so there it runs as an unprivileged user.
chmod -R a-w "$portable"
home=$work/home-readonly
mkdir -p "$home"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$home"
    as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
launcher "$portable/CorvaneConfig" HOME="$home"
game "$portable/corvane" HOME="$home"
expect_files "$home/.config/starwake/Config.txt" "$home/.local/share/starwake/Scores.dat"
cmp -s "$home/.config/starwake/Config.txt" "$portable/Config.txt" || fail "Config.txt was not seeded from the copy"

[ $status -eq 0 ] && echo "install checks hold"
exit $status
