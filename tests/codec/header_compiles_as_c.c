/* The public header is C: this file fails the build if it stops compiling as C11. */
#include <string.h>

#include "SarvikFfmpeg.h"

int sff_header_c_probe(void);

int sff_header_c_probe(void) {
    H264EncConfig enc;
    H264DecConfig dec;
    RtspSourceParam src;
    RtspDemuxDecConfig rtsp;
    memset(&enc, 0, sizeof enc);
    memset(&dec, 0, sizeof dec);
    memset(&src, 0, sizeof src);
    memset(&rtsp, 0, sizeof rtsp);
    return enc.width + dec.width + src.width + rtsp.outWidth;
}
