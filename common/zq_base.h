// Executable location and whole-file helpers of the zq utility library.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// Fixed codes of the file helpers; the SDK reports the same numbers.
enum {
    ZQ_ERR_NOMEM = -5,
    ZQ_ERR_WRITE_SHORT = -197,
    ZQ_ERR_READ_SHORT = -198,
    ZQ_ERR_OPEN = -200,
};

// Path of the running executable from "/proc/self/exe", NUL-terminated; returns its length, or 0 when it
// cannot be read or does not fit in size - 1 bytes.
int zq_get_exepath(char *buf, int size);
// Directory of the running executable without the trailing separator; returns its length (0 on failure,
// with buf empty).
int zq_get_exedir(char *buf, int size);

// Opens a file by a UTF-8 path (Linux paths are bytes already).
FILE *fopen_utf8(const char *path, const char *mode);

// Reads a whole file into a new buffer of exactly its size (caller frees with free()).
// 0 on success; ZQ_ERR_OPEN; ZQ_ERR_READ_SHORT for an empty file or a short read (data null);
// ZQ_ERR_NOMEM. size receives the measured length whenever the file was opened, else 0.
int fileutil_readalloc(const char *path, char **data, int64_t *size);
// Reads exactly len bytes from the start of the file: 0, ZQ_ERR_OPEN or ZQ_ERR_READ_SHORT.
int fileutil_read(const char *path, void *buf, size_t len);
// Creates or truncates the file and writes len bytes: 0, ZQ_ERR_OPEN or ZQ_ERR_WRITE_SHORT (also when
// the data cannot be flushed to the file on close).
int fileutil_write(const char *path, const void *data, size_t len);

// Smallest power of two not below n; 1 for n <= 1, -1 when the result does not fit.
int64_t next_pow2(int64_t n);
