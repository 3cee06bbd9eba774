/* Small helpers the demo programs share: clocks and writing a BGRA picture as a PNG. */
#pragma once

#include <stdint.h>

#include "SarvikSDK.h"

/* Seconds on the monotonic clock. */
double now_s(void);
void sleep_s(double s);
/* Creates the output directory, starts the SDK and logs in to the camera at ip: the user id, or -1 (with a
 * message, and the SDK released again). */
int demo_start(const char *ip, const char *dir, _CameraBasicInfo *info);
/* Writes a width x height BGRA picture (rows top down) as an 8-bit RGB PNG: 0 or -1. */
int write_png(const char *path, const uint32_t *bgra, int width, int height);
