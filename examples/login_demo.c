/* Logs in to a camera, prints its basic information and logs out again. Written in C against the public
 * header only, as an integrator's first program would be. */
#include <stdio.h>
#include <string.h>

#include "SarvikSDK.h"

int main(int argc, char **argv) {
    const char *ip = argc > 1 ? argv[1] : "127.0.0.2";
    int ret = Sarvik_InitSDK();
    if (ret != 0) {
        fprintf(stderr, "Sarvik_InitSDK failed: %d\n", ret);
        return 1;
    }

    _LoginInfo login;
    memset(&login, 0, sizeof login);
    snprintf(login.ip, sizeof login.ip, "%s", ip);
    _CameraBasicInfo info;
    memset(&info, 0, sizeof info);
    int userId = Sarvik_Login(&login, &info);
    if (userId < 0) {
        fprintf(stderr, "Sarvik_Login(%s) failed: %d\n", ip, userId);
        Sarvik_FreeSDK();
        return 1;
    }

    printf("logged in to %s (user id %d)\n", ip, userId);
    printf("  %dx%d@%dHz\n", info.dataWidth, info.dataHeight, info.dataFps);
    printf("  cameraId   %.32s\n", info.cameraId);
    printf("  cameraName %.32s\n", info.cameraName);
    printf("  cameraType %.16s\n", info.cameraType);
    printf("  fpaId      %.32s\n", info.fpaId);
    printf("  hardwareId %.32s\n", info.hardwareId);
    printf("  softwareId %.32s\n", info.softwareId);

    ret = Sarvik_Logout(userId);
    Sarvik_FreeSDK();
    printf("logged out: %d\n", ret);
    return ret == 0 ? 0 : 1;
}
