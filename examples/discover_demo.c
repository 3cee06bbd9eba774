/* Finds the cameras on the local networks and prints one line per camera. Discovery broadcasts on every
 * interface: run it only where that is wanted (scripts/discover_demo.sh runs it in a private network
 * namespace with virtual cameras). */
#include <stdio.h>

#include "SarvikSDK.h"

int main(void) {
    int ret = Sarvik_InitSDK();
    if (ret != 0) {
        fprintf(stderr, "Sarvik_InitSDK failed: %d\n", ret);
        return 1;
    }

    /* Takes at least 4 s: each of the two passes waits until the network has been quiet for 2 s. */
    _DiscoverCameraNode *cameras = Sarvik_DiscoverCameras();
    int count = 0;
    for (const _DiscoverCameraNode *n = cameras; n; n = n->next) {
        const _CameraBasicInfo *b = &n->camera.basicInfo;
        unsigned ip = n->camera.cameraIp;
        printf("%u.%u.%u.%u  %-.32s  %.16s  %ux%u@%uHz  software %.32s\n", ip >> 24, (ip >> 16) & 255,
               (ip >> 8) & 255, ip & 255, b->cameraId, b->cameraType, b->dataWidth, b->dataHeight, b->dataFps,
               b->softwareId);
        ++count;
    }
    printf("%d camera(s) found\n", count);
    Sarvik_DiscoverCamerasFree(&cameras);

    Sarvik_FreeSDK();
    return 0;
}
