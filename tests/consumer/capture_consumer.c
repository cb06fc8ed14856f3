/* SPDX-License-Identifier: Apache-2.0 */
/* A C program of the installed capture library: the messages of the capture
 * named by its argument, one line each, then the reader's summary. */
#include <corvuna/capture.h>
#include <stdio.h>

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: capture_consumer CAPTURE\n");
        return 2;
    }
    corvuna_capture *reader = NULL;
    char error[256];
    if (corvuna_capture_open(argv[1], NULL, &reader, error, sizeof error) != CORVUNA_CAPTURE_OK) {
        fprintf(stderr, "%s\n", error);
        return 1;
    }
    const corvuna_capture_message *m = NULL;
    int got;
    while ((got = corvuna_capture_next(reader, &m)) == CORVUNA_CAPTURE_MESSAGE) {
        printf("%llu %s %s%s%s\n", (unsigned long long)m->frame, m->direction ? "uplink" : "downlink", m->message,
               *m->imsi ? " IMSI " : "", m->imsi);
    }
    printf("%s\n", corvuna_capture_summary(reader));
    corvuna_capture_close(reader);
    return got == CORVUNA_CAPTURE_END ? 0 : 1;
}
