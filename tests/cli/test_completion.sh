#!/usr/bin/env bash
# The bash completion of w3ctl, with bash-completion's helpers reduced to what it uses.
# Usage: test_completion.sh COMPLETION_FILE
set -uo pipefail
_init_completion() { cur="${COMP_WORDS[COMP_CWORD]}"; prev="${COMP_WORDS[COMP_CWORD-1]}"; words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; }
_filedir() { COMPREPLY=("<file>"); }
compopt() { :; }
# shellcheck source=/dev/null
source "$1" || { echo "FAIL: the completion file does not load"; exit 1; }

failures=0
expect() {
    local expected=$1; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
    _w3ctl
    if [[ "${COMPREPLY[*]}" != "$expected" ]]; then
        echo "FAIL: [$*] completes to [${COMPREPLY[*]}], expected [$expected]"
        failures=$((failures + 1))
    fi
}

expect "dpi" w3ctl --json d
expect "stage set colors" w3ctl dpi ""
expect "125 250 500 1000" w3ctl --wait 3 rate ""
expect "media:volume-up media:volume-down" w3ctl button 4 media:vol
expect "1" w3ctl button 1
expect "1" w3ctl light wave --speed 1
expect "1 10" w3ctl pointer --speed 1
expect "breathing" w3ctl light b
expect "--speed" w3ctl light breathing --sp
expect "red,green" w3ctl dpi colors red,gr
expect "<file>" w3ctl profile export 2 ""
expect "<file>" w3ctl macro import ""
expect "normal reversed" w3ctl wheel ""
expect "on off" w3ctl pointer --acceleration ""
expect "--force" w3ctl button 4 --f
expect "stage" w3ctl --wait 5 dpi st
expect "list link" w3ctl app li
expect "--class" w3ctl app link 3 --cl
expect "none" w3ctl app default n
[[ $failures -eq 0 ]] && echo "completion: all cases pass"
exit $failures
