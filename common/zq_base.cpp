#include "zq_base.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

int zq_get_exepath(char *buf, int size) {
    if (!buf || size <= 1) return 0;
    ssize_t n = readlink("/proc/self/exe", buf, static_cast<size_t>(size) - 1);
    // A result filling the whole room may have been cut: no path beats a wrong one.
    if (n <= 0 || n >= size - 1) {
        buf[0] = '\0';
        return 0;
    }
    buf[n] = '\0';
    return static_cast<int>(n);
}

int zq_get_exedir(char *buf, int size) {
    int n = zq_get_exepath(buf, size);
    while (n > 0 && buf[n - 1] != '/' && buf[n - 1] != '\\') --n;
    if (n > 0) --n;  // the separator itself becomes the terminator
    if (buf && size > 0) buf[n] = '\0';
    return n;
}

FILE *fopen_utf8(const char *path, const char *mode) {
    if (!path || !mode) return nullptr;
    return fopen(path, mode);
}

int fileutil_readalloc(const char *path, char **data, int64_t *size) {
    if (data) *data = nullptr;
    if (size) *size = 0;
    if (!path || !data || !size) return ZQ_ERR_OPEN;
    FILE *fp = fopen(path, "rbe");
    if (!fp) return ZQ_ERR_OPEN;
    int rc = ZQ_ERR_READ_SHORT;
    if (fseeko(fp, 0, SEEK_END) == 0) {
        const off_t len = ftello(fp);
        *size = len > 0 ? static_cast<int64_t>(len) : 0;
        if (len > 0 && fseeko(fp, 0, SEEK_SET) == 0) {
            char *buf = static_cast<char *>(malloc(static_cast<size_t>(len)));
            if (!buf) {
                rc = ZQ_ERR_NOMEM;
            } else if (fread(buf, 1, static_cast<size_t>(len), fp) == static_cast<size_t>(len)) {
                *data = buf;
                rc = 0;
            } else {
                free(buf);
            }
        }
    }
    fclose(fp);
    return rc;
}

int fileutil_read(const char *path, void *buf, size_t len) {
    if (!path || (!buf && len)) return ZQ_ERR_OPEN;
    FILE *fp = fopen(path, "rbe");
    if (!fp) return ZQ_ERR_OPEN;
    const size_t got = len ? fread(buf, 1, len, fp) : 0;
    fclose(fp);
    return got == len ? 0 : ZQ_ERR_READ_SHORT;
}

int fileutil_write(const char *path, const void *data, size_t len) {
    if (!path || (!data && len)) return ZQ_ERR_OPEN;
    FILE *fp = fopen(path, "wbe");
    if (!fp) return ZQ_ERR_OPEN;
    const size_t put = len ? fwrite(data, 1, len, fp) : 0;
    // Buffered bytes reach the disk only at fclose; a full disk shows up there.
    const int close_rc = fclose(fp);
    return put == len && close_rc == 0 ? 0 : ZQ_ERR_WRITE_SHORT;
}

int64_t next_pow2(int64_t n) {
    if (n <= 1) return 1;
    if (n > (INT64_C(1) << 62)) return -1;
    int64_t p = 1;
    while (p < n) p <<= 1;
    return p;
}
