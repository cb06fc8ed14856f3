/* SPDX-License-Identifier: Apache-2.0 */
/*
 * A program that uses an installed Corvuna the way a host does: it decodes
 * SECURITY MODE COMPLETE with both entries and prints the version, so a
 * build against the installed header and library, shared or static, is
 * proven by running it.
 */
#include <stdio.h>
#include <string.h>

#include <corvuna/corvuna.h>

int main(void) {
    static char document[CORVUNA_MAX_DOCUMENT_LENGTH + 1];
    static char view[4096];
    const unsigned char message[] = {0x07, 0x5e};
    size_t needed = 0;
    int result;
    char expected[16];

    snprintf(expected, sizeof expected, "%d.%d.%d", CORVUNA_VERSION_MAJOR, CORVUNA_VERSION_MINOR,
             CORVUNA_VERSION_PATCH);
    if (strcmp(CorvunaVersion(), expected) != 0) {
        fprintf(stderr, "library version %s, header version %s\n", CorvunaVersion(), expected);
        return 1;
    }
    result = CorvunaDecodeBounded(CORVUNA_UPLINK, message, (int)sizeof message, document, sizeof document, &needed);
    if (result != CORVUNA_OK || strstr(document, "<SECURITY_MODE_COMPLETE>") == NULL) {
        fprintf(stderr, "CorvunaDecodeBounded gave %d:\n%s\n", result, document);
        return 1;
    }
    result = CorvunaDecodeView(CORVUNA_UPLINK, message, (int)sizeof message, CORVUNA_VIEW_JSON, 0, view, sizeof view,
                               &needed);
    if (result != CORVUNA_VIEW_DECODED || strstr(view, "\"security_mode_complete\"") == NULL) {
        fprintf(stderr, "CorvunaDecodeView gave %d:\n%s\n", result, view);
        return 1;
    }
    printf("corvuna %s: %s", CorvunaVersion(), document);
    return 0;
}
