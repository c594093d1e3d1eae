/* vips_time OP IN WIDTH HEIGHT RUNS: times one libvips call, best of RUNS after a
 * warm-up, and prints "OP WIDTHxHEIGHT best_ms".
 *
 * resize, shrink: IN is a libvips .v file, copied into a memory image once (untimed):
 * read from a PPM, or used where libvips maps the file, the source made libvips wait
 * between its threads, several times longer than the work. The timed part is the
 * operation and the write of its whole result into memory, since libvips computes
 * lazily. thumbnail: IN is a JPEG; the timed part is vips_thumbnail from the file (decode
 * with shrink-on-load, then resize) into memory, as a viewer showing the picture at
 * WIDTHxHEIGHT would do.
 *
 * The operation cache is off so that every run computes again. Threads follow
 * VIPS_CONCURRENCY (libvips reads it at start). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <vips/vips.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static VipsImage *run_once(const char *op, VipsImage *in, const char *file, int width,
                           int height) {
    VipsImage *out = NULL;
    int failed = 1;
    if (strcmp(op, "resize") == 0) {
        failed = vips_resize(in, &out, (double)width / in->Xsize, "vscale",
                             (double)height / in->Ysize, NULL);
    } else if (strcmp(op, "shrink") == 0) {
        failed = vips_shrink(in, &out, (double)in->Xsize / width, (double)in->Ysize / height,
                             NULL);
    } else if (strcmp(op, "thumbnail") == 0) {
        failed = vips_thumbnail(file, &out, width, "height", height, "size",
                                VIPS_SIZE_DOWN, NULL);
    }
    if (failed) {
        vips_error_exit("%s", op);
    }
    return out;
}

int main(int argc, char **argv) {
    if (VIPS_INIT(argv[0])) {
        vips_error_exit(NULL);
    }
    if (argc != 6) {
        fprintf(stderr, "usage: vips_time resize|shrink|thumbnail IN WIDTH HEIGHT RUNS\n");
        return 2;
    }
    const char *op = argv[1];
    const char *file = argv[2];
    const int width = atoi(argv[3]);
    const int height = atoi(argv[4]);
    const int runs = atoi(argv[5]);
    vips_cache_set_max(0);

    VipsImage *in = NULL;
    if (strcmp(op, "thumbnail") != 0) {
        VipsImage *loaded = vips_image_new_from_file(file, NULL);
        if (loaded == NULL || (in = vips_image_copy_memory(loaded)) == NULL) {
            vips_error_exit("%s", file);
        }
        g_object_unref(loaded);
    }

    double best = 1e30;
    int outWidth = 0;
    int outHeight = 0;
    for (int run = 0; run <= runs; ++run) { /* run 0 is the warm-up */
        const double start = now_ms();
        VipsImage *out = run_once(op, in, file, width, height);
        size_t size = 0;
        void *pixels = vips_image_write_to_memory(out, &size);
        const double elapsed = now_ms() - start;
        if (pixels == NULL) {
            vips_error_exit("%s", op);
        }
        outWidth = out->Xsize;
        outHeight = out->Ysize;
        g_free(pixels);
        g_object_unref(out);
        if (run > 0 && elapsed < best) {
            best = elapsed;
        }
    }
    printf("%s %dx%d %.3f\n", op, outWidth, outHeight, best);
    if (in != NULL) {
        g_object_unref(in);
    }
    vips_shutdown();
    return 0;
}
