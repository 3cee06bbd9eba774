/* Records filled by plain C code, for the C++ tests to read back byte for byte. */
#ifndef SDK_RECORDS_C_H
#define SDK_RECORDS_C_H

#include "SarvikSDK.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The time-set message a login sends: header (56, 72) then a _CtlX with command 1 and six UTC words. */
void rc_time_set_message(uint8_t out[72], int year, int month, int day, int hour, int minute, int second);

/* A temperature preview request as a C caller builds it. */
void rc_preview_param(PreviewParam* param, PreviewFrameCallback callback, void* user);

/* The image settings the tools send: every field applied, playback's bytes 5 and 6 set to 50. */
void rc_strech_all(_strech_control* ctl);

/* Calls param->callback the way a preview worker does. */
void rc_deliver(const PreviewParam* param, int status, _DataFrame* frame);

#ifdef __cplusplus
}
#endif

#endif
