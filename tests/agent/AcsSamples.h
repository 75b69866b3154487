#pragma once

// Characters built in memory for the tests, benchmarks and fuzz seeds of the character engine.

#include "agent/AcsCharacter.h"

namespace AcsSamples {

// The transparent palette index of the samples.
inline constexpr quint8 kTransparent = 10;

// A small character that uses every part of the format: voice (with its tail), balloon, tray icon,
// two languages, states, images of odd widths, sounds, and the animations:
//  - "RestPose" (none): one frame with all seven mouth overlays;
//  - "Wave" (return through "WaveReturn"): three frames, a sound on the second;
//  - "WaveReturn" (none): one frame;
//  - "Idle1_1" (exit branches): frames 0..3 with a branch from frame 2 back to 1 (60 %) and an
//    empty last frame as exit target;
//  - "Show" and "Hide" (none): two frames each;
//  - "Speak" (none): one frame with overlays.
// States: SHOWING Show, HIDING Hide, SPEAKING Speak, IDLINGLEVEL1 Idle1_1, IDLINGLEVEL2 Idle1_1.
// Image regions are left unset (the writer computes them).
AcsCharacter Small();

// A tiny WAVE file (16-bit mono PCM) of `samples` samples.
QByteArray Wave(int samples, int seed);

// A character with `images` images of 128 × 128 pixels drawn like animation frames (shapes, a
// moving limb, a little dither) and one animation per 8 images: about 2.7 KB of file per image.
AcsCharacter Large(int images);

} // namespace AcsSamples
