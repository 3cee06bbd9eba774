/* The README's first example as a program: log in to one camera and print its image size and rate.
 * Built against the installed SDK by the packaging test (pkg-config and find_package). */
#include <stdio.h>

#include "SarvikSDK.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s CAMERA_ADDRESS\n", argv[0]);
        return 2;
    }
    Sarvik_InitSDK();
    _LoginInfo login = {0};
    snprintf(login.ip, sizeof login.ip, "%s", argv[1]);
    _CameraBasicInfo info;
    int userId = Sarvik_Login(&login, &info); /* >= 0: a session; < 0: a status code */
    if (userId < 0) {
        fprintf(stderr, "login to %s: %d\n", argv[1], userId);
        Sarvik_FreeSDK();
        return 1;
    }
    printf("%dx%d@%dHz\n", info.dataWidth, info.dataHeight, info.dataFps);
    Sarvik_Logout(userId);
    Sarvik_FreeSDK();
    return 0;
}
