// The destripe and denoise filters: in-place cleaning of a temperature frame's 16-bit samples before it is
// rendered. The preview applies them in two-thread mode to frames of data kind 2, the playback to every frame
// it hands out. Each filter is an object configured once per frame size and then run per frame; configuring
// allocates (the destripe's work block holds a 32 MiB coefficient table, the denoise's a 2 MiB one), running
// allocates nothing.
//
// Thread: an object belongs to one thread (the preview's receive thread or the playback's caller); configure
// it only between frames. Different objects are independent. Nothing here logs.
#pragma once

#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Removes column stripes: a guided filter along each row leaves the residual, whose column estimate over
// neighbouring rows (a box mean, or for type 3 a guided filter against the smooth image) is subtracted.
struct DestripeFilter;

// An unconfigured filter (type 0: frames pass unchanged); null when out of memory.
DestripeFilter *destripe_create();
// Frees the filter and its work block and sets *filter to null; null and *filter null are ignored.
void destripe_free(DestripeFilter **filter);
// Takes a configuration (the caller fills width and height from the frame). Valid: width >= 80, height >= 60,
// s0_radius and s1_radius 1..16, s0_regular and s1_regular >= 1, sub_y and sub_t 1..16, any type.
// The same 32 bytes as the configuration in force change nothing (the sequence counter runs on); any other
// valid configuration restarts the sequence counter and forgets the estimate.
// Returns 0; -8 (SARVIK_ERR_INVALID_ARG) invalid or null, the previous configuration stays in force;
// -5 (SARVIK_ERR_NO_MEMORY) the work block could not be allocated: the filter is unconfigured until the next
// successful configuration.
int destripe_configure(DestripeFilter *filter, const _DestripInfo *config);
// Filters width x height samples in place. sequence: non-zero for consecutive frames of a stream, where the
// estimate is refreshed only every sub_t frames; 0 for a single frame (estimated afresh).
// Returns 0 (type 0 leaves the samples unchanged); -8 width or height differ from the configuration, or a
// null argument: the samples are not touched.
int destripe_apply(DestripeFilter *filter, int16_t *samples, int width, int height, int sequence);
// The configuration in force (all zero when unconfigured).
void destripe_get_config(const DestripeFilter *filter, _DestripInfo *config);
// Row step S = 2^floor(log2(sub_y)) of the configuration in force (1 when unconfigured).
int destripe_row_step(const DestripeFilter *filter);
// Position of the sequence counter: 0 .. sub_t - 1; the estimate is refreshed on a sequence frame that finds
// 0.
int destripe_sequence_counter(const DestripeFilter *filter);

// Smooths temporal and spatial noise while keeping edges: a square guided filter on the frame (type 1), or
// on every second (type 2) or fourth (type 3) sample of every second or fourth row, whose box sums then
// apply to each 2 x 2 or 4 x 4 block of the frame.
struct DenoiseFilter;

DenoiseFilter *denoise_create();
void denoise_free(DenoiseFilter **filter);
// Valid: type 0..3, width >= 32, height >= 32, gf_radius 1..16, gf_regular 1..40. Same codes and rules as
// destripe_configure (the same 64 bytes change nothing).
int denoise_configure(DenoiseFilter *filter, const _DenoiseInfo *config);
// Filters width x height samples in place. Returns 0; -7 (SARVIK_ERR_STATE) width or height differ from the
// configuration or the type is 0 (the samples are not touched); -8 a null argument.
int denoise_apply(DenoiseFilter *filter, int16_t *samples, int width, int height);
void denoise_get_config(const DenoiseFilter *filter, _DenoiseInfo *config);

}  // namespace sarvik
