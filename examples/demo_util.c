/* Small helpers the demo programs share: clocks and writing a BGRA picture as a PNG. */
#include "demo_util.h"

#include <errno.h>
#include <png.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>

double now_s(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

void sleep_s(double s) {
    struct timespec t;
    t.tv_sec = (time_t)s;
    t.tv_nsec = (long)((s - (double)t.tv_sec) * 1e9);
    nanosleep(&t, NULL);
}

/* Writes a BGRA picture as an 8-bit RGB PNG. */
int write_png(const char *path, const uint32_t *bgra, int width, int height) {
    FILE *f = fopen(path, "wb");
    if (!f) return -1;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return -1;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);                         /* bytes in memory are blue, green, red */
    png_set_filler(png, 0, PNG_FILLER_AFTER); /* and a fourth (alpha) byte to drop */
    for (int y = 0; y < height; ++y) png_write_row(png, (png_const_bytep)(bgra + (size_t)y * (size_t)width));
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0 ? 0 : -1;
}

int demo_start(const char *ip, const char *dir, _CameraBasicInfo *info) {
    if (mkdir(dir, 0755) != 0 && errno != EEXIST) {
        fprintf(stderr, "cannot create %s: %s\n", dir, strerror(errno));
        return -1;
    }
    const int ret = Sarvik_InitSDK();
    if (ret != 0) {
        fprintf(stderr, "Sarvik_InitSDK failed: %d\n", ret);
        return -1;
    }
    _LoginInfo login;
    memset(&login, 0, sizeof login);
    snprintf(login.ip, sizeof login.ip, "%s", ip);
    memset(info, 0, sizeof *info);
    const int user = Sarvik_Login(&login, info);
    if (user < 0) {
        fprintf(stderr, "Sarvik_Login(%s) failed: %d\n", ip, user);
        Sarvik_FreeSDK();
        return -1;
    }
    return user;
}
