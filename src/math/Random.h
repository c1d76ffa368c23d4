// Thin wrappers over the standard library's generator, kept to a 15-bit draw.
#pragma once

// Seeds the standard library's generator.
void randomize(long seed);
// A value in [-1, 1): draw / 16384 - 1.
float RND();
// A value in [0, 1): draw / 32768.
float URND();
