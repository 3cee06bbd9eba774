/* Small helpers the demo programs share: clocks and writing a BGRA picture as a PNG. */
#pragma once

#include <stdint.h>

/* Seconds on the monotonic clock. */
double now_s(void);
void sleep_s(double s);
/* Writes a width x height BGRA picture (rows top down) as an 8-bit RGB PNG: 0 or -1. */
int write_png(const char *path, const uint32_t *bgra, int width, int height);
