#!/bin/sh
# Makes the interface sounds shipped in modules/media/ from nothing but sox's synthesiser,
# so every sound we ship is our own:
#   00.mp3  background loop: four soft pad chords that cross-fade, silent at both ends
#   01.wav  start-up cue: a rising bell arpeggio
#   02.wav  page and menu cue: a two-note chime
#   03.wav  web-link cue: a soft upward glide
#   04.wav  button click: a short damped tick
# Needs sox and libsox-fmt-mp3. Runs from anywhere: ./scripts/make-sounds.sh [output dir]
# -R keeps sox's random numbers (dither, noise) the same on every run, so the output is repeatable.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../modules/media"}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

SOX="sox -R -V1"

# Peaks: cues sit well below full scale so that they never startle; the loop lies lower still.
CUE_PEAK=-12
LOOP_PEAK=-15

CUE_RATE=44100
LOOP_RATE=22050

# ---- background loop ------------------------------------------------------------------------
# One pad chord: every note twice, the second a few cents sharp, for a gentle chorus;
# the notes are mixed to mono, softened by a low-pass filter and shaped by slow fades.
CHORD_LEN=10   # seconds each chord sounds
CHORD_STEP=8   # seconds between chord starts, so neighbours overlap by two seconds

pad_chord() { # name, then the note frequencies in Hz
    name=$1; shift
    tones=""
    channels=0
    for f in "$@"; do
        sharp=$(echo "$f * 1.003" | bc -l)
        tones="$tones sine $f sine $sharp"
        channels=$((channels + 2))
    done
    # shellcheck disable=SC2086
    $SOX -r $LOOP_RATE -c $channels -n "$work/$name.wav" synth $CHORD_LEN $tones \
        remix - lowpass 1800 tremolo 0.2 15 fade q 2.5 $CHORD_LEN 3
}

pad_chord c  130.81 164.81 196.00 246.94   # C major seventh
pad_chord am 110.00 130.81 164.81 196.00   # A minor seventh
pad_chord f   87.31 110.00 130.81 164.81   # F major seventh
pad_chord g   98.00 146.83 196.00 246.94   # G major

i=0
for name in c am f g; do
    $SOX "$work/$name.wav" "$work/${name}_at.wav" pad $((i * CHORD_STEP))
    i=$((i + 1))
done
$SOX -m "$work/c_at.wav" "$work/am_at.wav" "$work/f_at.wav" "$work/g_at.wav" "$work/loop.wav" \
    reverb 40 50 60 gain -n $LOOP_PEAK
# Mono, 48 kbit/s: small enough to ship, plenty for a soft pad.
$SOX "$work/loop.wav" --comment "" -C 48 "$out/00.mp3"

# ---- cues -----------------------------------------------------------------------------------
bell() { # output, frequency in Hz, length in seconds, start offset in seconds
    $SOX -r $CUE_RATE -c 2 -n "$1" synth "$3" sine "$2" sine "$(echo "$2 * 2" | bc -l)" \
        remix 1v0.8,2v0.2 fade q 0.004 "$3" "$(echo "$3 - 0.01" | bc -l)" pad "$4"
}

cue() { # output name, then the parts to mix
    name=$1; shift
    if [ $# -gt 1 ]; then
        $SOX -m "$@" "$work/$name.wav"
    else
        cp "$1" "$work/$name.wav"
    fi
    $SOX "$work/$name.wav" --comment "" -b 16 "$out/$name.wav" gain -n $CUE_PEAK
}

# 01: C5 E5 G5 C6, one every 0.12 s, the last ringing longest.
bell "$work/s1.wav" 523.25 0.45 0
bell "$work/s2.wav" 659.25 0.45 0.12
bell "$work/s3.wav" 783.99 0.45 0.24
bell "$work/s4.wav" 1046.50 0.6 0.36
cue 01 "$work/s1.wav" "$work/s2.wav" "$work/s3.wav" "$work/s4.wav"

# 02: G5 then C6.
bell "$work/p1.wav" 783.99 0.18 0
bell "$work/p2.wav" 1046.50 0.22 0.08
cue 02 "$work/p1.wav" "$work/p2.wav"

# 03: a short glide upward with a soft start and a long tail.
$SOX -r $CUE_RATE -c 1 -n "$work/w1.wav" synth 0.3 sine 660-1320 fade q 0.02 0.3 0.22
cue 03 "$work/w1.wav"

# 04: a 60 ms tick: a high sine that dies away at once.
$SOX -r $CUE_RATE -c 1 -n "$work/k1.wav" synth 0.06 sine 1800 fade q 0.002 0.06 0.055
cue 04 "$work/k1.wav"

for f in "$out"/00.mp3 "$out"/0[1-4].wav; do
    printf '%s: %s s, %s bytes\n' "$(basename "$f")" "$(soxi -D "$f")" "$(stat -c %s "$f")"
done
