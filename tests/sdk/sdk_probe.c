/* A customer program in miniature: init, N logins to one camera, logouts, release. Tests copy it into a
 * folder of their own with a SarvikSDK.json beside it, since the SDK reads its configuration from the
 * executable's directory. Prints one line per step. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SarvikSDK.h"

int main(int argc, char **argv) {
    const char *ip = argc > 1 ? argv[1] : NULL;
    int logins = argc > 2 ? atoi(argv[2]) : 0;
    int ret = Sarvik_InitSDK();
    printf("init %d\n", ret);
    if (ret != 0) return 1;
    int ids[256];
    int n = 0;
    for (int i = 0; ip && i < logins && i < 256; ++i) {
        _LoginInfo l;
        memset(&l, 0, sizeof l);
        snprintf(l.ip, sizeof l.ip, "%s", ip);
        _CameraBasicInfo info;
        int id = Sarvik_Login(&l, &info);
        printf("login %d\n", id);
        if (id >= 0) ids[n++] = id;
    }
    for (int i = 0; i < n; ++i) Sarvik_Logout(ids[i]);
    Sarvik_FreeSDK();
    printf("done\n");
    return 0;
}
