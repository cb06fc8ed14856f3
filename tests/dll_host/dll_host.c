/* SPDX-License-Identifier: Apache-2.0 */
/*
 * corvuna_dll_host: loads the Corvuna library at run time, as a host
 * application does (LoadLibrary/GetProcAddress on Windows, dlopen/dlsym
 * elsewhere), and drives its three entry points through __cdecl function
 * pointers.
 *
 *   corvuna_dll_host LIBRARY DOCUMENTS RESULTS MESSAGES...
 *
 * LIBRARY    path of Corvuna.dll (or libcorvuna.so)
 * DOCUMENTS  written: the document of every message, in input order, exactly
 *            as Corvunadecode appends it to an empty buffer
 * RESULTS    written: one line per message with the results of the entry
 *            points, the standard view's as its result, length and a hash
 *            of its text, for JSON and for the text tree
 * MESSAGES   files of DIRECTION<TAB>HEX lines; further tab-separated
 *            columns, blank lines, '#' lines and a header line starting
 *            with "direction" are ignored
 *
 * Both output files are written in binary mode, so that the same program
 * built for Windows and for the build machine gives byte-identical files
 * when the two libraries behave alike.  Beyond producing them, the host
 * checks for every message that the entry points keep the promises of
 * corvuna.h (buffer bounds, the bounded entry's results, argument checks,
 * the body length limit).  Exit status 0 when every check held, 1 when one
 * failed, 2 on a usage or input error.
 */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "corvuna/corvuna.h"

#if defined(_WIN32)
#include <windows.h>
typedef HMODULE LibraryHandle;
#else
#include <dlfcn.h>
typedef void *LibraryHandle;
#endif

/* The entry points as a host declares them: C calling convention. */
#if defined(_WIN32)
#define HOST_CDECL __cdecl
#else
#define HOST_CDECL
#endif
typedef int(HOST_CDECL *DecodeFn)(int, const unsigned char *, int, char *, int, int);
typedef int(HOST_CDECL *LteGainFn)(const unsigned char *, int, unsigned int, int *);
typedef int(HOST_CDECL *BoundedFn)(int, const unsigned char *, int, char *, size_t, size_t *);
typedef int(HOST_CDECL *ViewFn)(int, const unsigned char *, int, int, unsigned int, char *, size_t, size_t *);
typedef const char *(HOST_CDECL *VersionFn)(void);

struct Library {
    LibraryHandle handle;
    DecodeFn decode;
    LteGainFn lteGain;
    BoundedFn bounded;
    ViewFn view;
    VersionFn version;
};

/* Bytes after the space the library may use; they must stay untouched. */
#define GUARD_LENGTH 64
#define GUARD_BYTE 0xA5
/* Rates preset before LteGain; a value still there was not stored. */
#define RATE_UNTOUCHED 0x5A5A5A5A
/* A string already in the buffer: the document is appended to it. */
static const char kPrefix[] = "<host prefix>\n";

static int failures = 0;

static void Fail(const char *where, const char *format, ...) {
    va_list args;
    va_start(args, format);
    fprintf(stderr, "FAILED %s: ", where);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
    ++failures;
}

static void *Symbol(LibraryHandle handle, const char *name) {
#if defined(_WIN32)
    return (void *)GetProcAddress(handle, name);
#else
    return dlsym(handle, name);
#endif
}

static int OpenLibrary(const char *path, struct Library *library) {
#if defined(_WIN32)
    library->handle = LoadLibraryA(path);
    if (library->handle == NULL) {
        fprintf(stderr, "corvuna_dll_host: LoadLibrary(%s) failed, error %lu\n", path,
                (unsigned long)GetLastError());
        return 0;
    }
#else
    library->handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library->handle == NULL) {
        fprintf(stderr, "corvuna_dll_host: dlopen(%s) failed: %s\n", path, dlerror());
        return 0;
    }
#endif
    /* Function pointers travel through void * here as with any
     * GetProcAddress or dlsym caller; memcpy keeps that well defined. */
    void *decode = Symbol(library->handle, "Corvunadecode");
    void *lteGain = Symbol(library->handle, "LteGain");
    void *bounded = Symbol(library->handle, "CorvunaDecodeBounded");
    void *view = Symbol(library->handle, "CorvunaDecodeView");
    void *version = Symbol(library->handle, "CorvunaVersion");
    if (decode == NULL || lteGain == NULL || bounded == NULL || view == NULL || version == NULL) {
        fprintf(stderr, "corvuna_dll_host: %s lacks an entry point (Corvunadecode %p, LteGain %p, "
                        "CorvunaDecodeBounded %p, CorvunaDecodeView %p, CorvunaVersion %p)\n",
                path, decode, lteGain, bounded, view, version);
        return 0;
    }
    memcpy(&library->decode, &decode, sizeof decode);
    memcpy(&library->lteGain, &lteGain, sizeof lteGain);
    memcpy(&library->bounded, &bounded, sizeof bounded);
    memcpy(&library->view, &view, sizeof view);
    memcpy(&library->version, &version, sizeof version);

    /* The names are exported as they stand: no __stdcall or leading
     * underscore decoration. */
    static const char *const kDecorated[] = {
        "_Corvunadecode",        "Corvunadecode@24",        "_Corvunadecode@24",
        "_LteGain",              "LteGain@16",              "_LteGain@16",
        "_CorvunaDecodeBounded", "CorvunaDecodeBounded@24", "_CorvunaDecodeBounded@24",
        "_CorvunaDecodeView",    "CorvunaDecodeView@32",    "_CorvunaDecodeView@32",
        "_CorvunaVersion",       "CorvunaVersion@0",        "_CorvunaVersion@0",
    };
    for (size_t i = 0; i < sizeof kDecorated / sizeof kDecorated[0]; ++i) {
        if (Symbol(library->handle, kDecorated[i]) != NULL) {
            Fail("exports", "decorated name %s is exported", kDecorated[i]);
        }
    }
    return 1;
}

static void CloseLibrary(struct Library *library) {
#if defined(_WIN32)
    FreeLibrary(library->handle);
#else
    dlclose(library->handle);
#endif
}

struct Message {
    int direction;
    unsigned char *octets;
    int length;
    char where[256];
};

static int HexDigit(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* Parses one DIRECTION<TAB>HEX line; 1 for a message, 0 for a line to
 * skip, -1 for a malformed line. */
static int ParseLine(char *line, int number, struct Message *message) {
    size_t end = strcspn(line, "\r\n");
    line[end] = '\0';
    const char *p = line;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0' || *p == '#') return 0;
    if (number == 1 && strncmp(line, "direction", 9) == 0) return 0;
    char *tab = strchr(line, '\t');
    if (tab == NULL) return -1;
    *tab = '\0';
    if (strcmp(line, "0") == 0) {
        message->direction = CORVUNA_DOWNLINK;
    } else if (strcmp(line, "1") == 0) {
        message->direction = CORVUNA_UPLINK;
    } else {
        return -1;
    }
    char *hex = tab + 1;
    char *hexEnd = strchr(hex, '\t');
    if (hexEnd != NULL) *hexEnd = '\0';
    size_t digits = 0;
    for (const char *q = hex; *q != '\0'; ++q) {
        if (*q == ' ') continue;
        if (HexDigit((unsigned char)*q) < 0) return -1;
        ++digits;
    }
    if (digits == 0 || digits % 2 != 0) return -1;
    message->octets = (unsigned char *)malloc(digits / 2);
    if (message->octets == NULL) return -1;
    message->length = 0;
    int high = -1;
    for (const char *q = hex; *q != '\0'; ++q) {
        if (*q == ' ') continue;
        const int v = HexDigit((unsigned char)*q);
        if (high < 0) {
            high = v;
        } else {
            message->octets[message->length++] = (unsigned char)(high * 16 + v);
            high = -1;
        }
    }
    return 1;
}

/* A buffer of `size` characters holding `prefix`, followed by guard bytes. */
static char *NewBuffer(size_t size, const char *prefix) {
    char *buffer = (char *)malloc(size + GUARD_LENGTH);
    if (buffer == NULL) {
        fprintf(stderr, "corvuna_dll_host: out of memory\n");
        exit(2);
    }
    memset(buffer, 0, size);
    memset(buffer + size, GUARD_BYTE, GUARD_LENGTH);
    strcpy(buffer, prefix);
    return buffer;
}

static int GuardIntact(const char *buffer, size_t size) {
    for (size_t i = 0; i < GUARD_LENGTH; ++i) {
        if ((unsigned char)buffer[size + i] != GUARD_BYTE) return 0;
    }
    return 1;
}

/* Corvunadecode into an empty buffer of the documented size; the document
 * (malloc'd, NUL-terminated) or NULL when the entry returned 0. */
static char *LegacyDocument(const struct Library *library, int direction, const unsigned char *octets, int length,
                            int *result, const char *where) {
    const size_t size = CORVUNA_MAX_DOCUMENT_LENGTH + 1;
    char *buffer = NewBuffer(size, "");
    *result = library->decode(direction, octets, length, buffer, 0, 0);
    if (!GuardIntact(buffer, size)) Fail(where, "Corvunadecode wrote beyond CORVUNA_MAX_DOCUMENT_LENGTH + 1");
    if (memchr(buffer, '\0', size) == NULL) Fail(where, "Corvunadecode left no NUL in its buffer");
    if (*result != 1) {
        if (buffer[0] != '\0') Fail(where, "Corvunadecode returned %d but wrote text", *result);
        free(buffer);
        return NULL;
    }
    return buffer;
}

/* 32-bit FNV-1a of a string: the view's text in the results line. */
static unsigned long Fnv1a(const char *text) {
    unsigned long hash = 2166136261ul;
    for (; *text != '\0'; ++text) hash = ((hash ^ (unsigned char)*text) * 16777619ul) & 0xFFFFFFFFul;
    return hash;
}

/* The standard view in `format`: into the largest buffer, into exactly
 * *needed characters and into one fewer; prints "result,length,hash". */
static void CheckView(const struct Library *library, const struct Message *message, int format, FILE *results) {
    const char *where = message->where;
    const size_t size = CORVUNA_MAX_VIEW_LENGTH + 1;
    char *buffer = NewBuffer(size, "");
    size_t needed = 0;
    const int result = library->view(message->direction, message->octets, message->length, format,
                                     CORVUNA_VIEW_NULL_CIPHERING, buffer, size, &needed);
    if (!GuardIntact(buffer, size)) Fail(where, "CorvunaDecodeView wrote beyond CORVUNA_MAX_VIEW_LENGTH + 1");
    if (result < CORVUNA_VIEW_DECODED || result > CORVUNA_VIEW_NOT_NAS || needed != strlen(buffer) + 1) {
        Fail(where, "CorvunaDecodeView format %d: result %d, needed %lu", format, result, (unsigned long)needed);
    } else {
        char *exact = NewBuffer(needed, "");
        size_t again = 0;
        if (library->view(message->direction, message->octets, message->length, format, CORVUNA_VIEW_NULL_CIPHERING,
                          exact, needed, &again) != result ||
            again != needed || strcmp(exact, buffer) != 0 || !GuardIntact(exact, needed)) {
            Fail(where, "CorvunaDecodeView into exactly *needed characters differs");
        }
        free(exact);
        char *shortBuffer = NewBuffer(needed - 1, "x");
        if (needed > 1 && (library->view(message->direction, message->octets, message->length, format,
                                         CORVUNA_VIEW_NULL_CIPHERING, shortBuffer, needed - 1, &again) !=
                               CORVUNA_ERR_NO_ROOM ||
                           shortBuffer[0] != '\0' || !GuardIntact(shortBuffer, needed - 1))) {
            Fail(where, "CorvunaDecodeView one character short was not refused untouched");
        }
        free(shortBuffer);
    }
    fprintf(results, " view%d=%d,%lu,%08lx", format, result, (unsigned long)needed, Fnv1a(buffer));
    free(buffer);
}

/* The checks that hold for every message; appends its results line. */
static void CheckMessage(const struct Library *library, const struct Message *message, FILE *documents,
                         FILE *results) {
    const char *where = message->where;
    const int direction = message->direction;
    const unsigned char *octets = message->octets;
    const int length = message->length;

    int decodeResult = 0;
    char *document = LegacyDocument(library, direction, octets, length, &decodeResult, where);
    const size_t documentLength = document != NULL ? strlen(document) : 0;
    if (document == NULL) {
        Fail(where, "Corvunadecode returned %d", decodeResult);
    } else {
        fwrite(document, 1, documentLength, documents);
        const char *dirLine = direction == CORVUNA_UPLINK ? "<L3Message>\n<dir>UPLINK</dir>\n"
                                                          : "<L3Message>\n<dir>DOWNLINK</dir>\n";
        if (strncmp(document, dirLine, strlen(dirLine)) != 0) Fail(where, "document frame or direction line wrong");
        if (documentLength > CORVUNA_MAX_DOCUMENT_LENGTH) {
            Fail(where, "document of %lu characters exceeds CORVUNA_MAX_DOCUMENT_LENGTH",
                 (unsigned long)documentLength);
        }
    }

    /* Appending to an existing string, legacy entry. */
    {
        const size_t size = strlen(kPrefix) + CORVUNA_MAX_DOCUMENT_LENGTH + 1;
        char *buffer = NewBuffer(size, kPrefix);
        const int result = library->decode(direction, octets, length, buffer, 7, -7);
        if (result != decodeResult || strncmp(buffer, kPrefix, strlen(kPrefix)) != 0 ||
            (document != NULL && strcmp(buffer + strlen(kPrefix), document) != 0)) {
            Fail(where, "Corvunadecode appending to a string (unused arguments 7, -7) differs");
        }
        if (!GuardIntact(buffer, size)) Fail(where, "Corvunadecode wrote beyond its buffer when appending");
        free(buffer);
    }

    /* The bounded entry: exact fit, one character short, appending. */
    size_t needed = 0;
    int boundedResult = CORVUNA_ERR_INTERNAL;
    {
        const size_t size = CORVUNA_MAX_DOCUMENT_LENGTH + 1;
        char *buffer = NewBuffer(size, "");
        boundedResult = library->bounded(direction, octets, length, buffer, size, &needed);
        if (boundedResult == CORVUNA_OK) {
            if (document == NULL || strcmp(buffer, document) != 0) Fail(where, "CorvunaDecodeBounded document differs");
            if (needed != strlen(buffer) + 1) Fail(where, "CorvunaDecodeBounded needed %lu", (unsigned long)needed);
        } else {
            Fail(where, "CorvunaDecodeBounded returned %d", boundedResult);
        }
        if (!GuardIntact(buffer, size)) Fail(where, "CorvunaDecodeBounded wrote beyond its capacity");
        free(buffer);
    }
    if (boundedResult == CORVUNA_OK && needed > 1) {
        char *exact = NewBuffer(needed, "");
        size_t again = 0;
        const int result = library->bounded(direction, octets, length, exact, needed, &again);
        if (result != CORVUNA_OK || again != needed || (document != NULL && strcmp(exact, document) != 0)) {
            Fail(where, "CorvunaDecodeBounded into exactly *needed characters: result %d", result);
        }
        if (!GuardIntact(exact, needed)) Fail(where, "CorvunaDecodeBounded wrote beyond an exact capacity");
        free(exact);

        char *shortBuffer = NewBuffer(needed - 1, "");
        again = 0;
        const int shortResult = library->bounded(direction, octets, length, shortBuffer, needed - 1, &again);
        if (shortResult != CORVUNA_ERR_NO_ROOM || again != needed || shortBuffer[0] != '\0') {
            Fail(where, "CorvunaDecodeBounded one character short: result %d, needed %lu, buffer %s", shortResult,
                 (unsigned long)again, shortBuffer[0] == '\0' ? "restored" : "changed");
        }
        if (!GuardIntact(shortBuffer, needed - 1)) Fail(where, "CorvunaDecodeBounded wrote beyond a short buffer");
        free(shortBuffer);

        const size_t prefixed = strlen(kPrefix) + needed;
        char *appended = NewBuffer(prefixed, kPrefix);
        again = 0;
        const int appendResult = library->bounded(direction, octets, length, appended, prefixed, &again);
        if (appendResult != CORVUNA_OK || again != prefixed || strncmp(appended, kPrefix, strlen(kPrefix)) != 0 ||
            (document != NULL && strcmp(appended + strlen(kPrefix), document) != 0)) {
            Fail(where, "CorvunaDecodeBounded appending: result %d, needed %lu", appendResult, (unsigned long)again);
        }
        if (!GuardIntact(appended, prefixed)) Fail(where, "CorvunaDecodeBounded wrote beyond its capacity");
        free(appended);
    }

    /* Octets past CORVUNA_MAX_BODY_LENGTH in the body are not decoded: the
     * message padded far beyond the limit gives the document of the message
     * padded up to the limit. */
    {
        const int header = (octets[0] & 0x0F) == 2 ? 3 : 2;
        const int limit = header + CORVUNA_MAX_BODY_LENGTH;
        if (length <= limit) {
            unsigned char *padded = (unsigned char *)calloc((size_t)limit + 512, 1);
            if (padded == NULL) exit(2);
            memcpy(padded, octets, (size_t)length);
            int atLimitResult = 0;
            int beyondResult = 0;
            char *atLimit = LegacyDocument(library, direction, padded, limit, &atLimitResult, where);
            for (int i = limit; i < limit + 512; ++i) padded[i] = (unsigned char)(i * 37 + 11);
            char *beyond = LegacyDocument(library, direction, padded, limit + 512, &beyondResult, where);
            if (atLimit == NULL || beyond == NULL || strcmp(atLimit, beyond) != 0) {
                Fail(where, "octets beyond CORVUNA_MAX_BODY_LENGTH changed the document");
            }
            free(atLimit);
            free(beyond);
            free(padded);
        }
    }

    /* LteGain: only the MessageCode of the activate default EPS bearer
     * context request is accepted; the rates are reported as stored. */
    int rates[2] = {RATE_UNTOUCHED, RATE_UNTOUCHED};
    const int gainResult = library->lteGain(octets, length, CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, rates);
    {
        int untouched[2] = {RATE_UNTOUCHED, RATE_UNTOUCHED};
        if (library->lteGain(octets, length, CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST + 1, untouched) != 0 ||
            untouched[0] != RATE_UNTOUCHED || untouched[1] != RATE_UNTOUCHED) {
            Fail(where, "LteGain accepted another MessageCode");
        }
        if (library->lteGain(octets, 0, CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, untouched) != 0 ||
            untouched[0] != RATE_UNTOUCHED) {
            Fail(where, "LteGain accepted a length of 0");
        }
        if (library->lteGain(octets, length, CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, NULL) != 0) {
            Fail(where, "LteGain accepted a null rate array");
        }
    }
    if (gainResult != 1) Fail(where, "LteGain returned %d", gainResult);

    fprintf(results, "%s decode=%d length=%lu bounded=%d needed=%lu ltegain=%d rates=%d,%d", where, decodeResult,
            (unsigned long)documentLength, boundedResult, (unsigned long)needed, gainResult, rates[0], rates[1]);
    CheckView(library, message, CORVUNA_VIEW_JSON, results);
    CheckView(library, message, CORVUNA_VIEW_TEXT, results);
    fputc('\n', results);
    free(document);
}

/* Argument checks that do not depend on the message. */
static void CheckArguments(const struct Library *library) {
    static const unsigned char kMessage[] = {0x07, 0x46};
    const size_t size = CORVUNA_MAX_DOCUMENT_LENGTH + 1;
    char *buffer = NewBuffer(size, kPrefix);
    struct {
        const char *what;
        int result;
    } legacy[] = {
        {"direction 2", library->decode(2, kMessage, 2, buffer, 0, 0)},
        {"direction -1", library->decode(-1, kMessage, 2, buffer, 0, 0)},
        {"null message", library->decode(CORVUNA_UPLINK, NULL, 2, buffer, 0, 0)},
        {"negative length", library->decode(CORVUNA_UPLINK, kMessage, -1, buffer, 0, 0)},
        {"negative fifth argument", library->decode(CORVUNA_UPLINK, kMessage, 2, buffer, -1, 0)},
        {"null output", library->decode(CORVUNA_UPLINK, kMessage, 2, NULL, 0, 0)},
    };
    for (size_t i = 0; i < sizeof legacy / sizeof legacy[0]; ++i) {
        if (legacy[i].result != 0) Fail("arguments", "Corvunadecode accepted %s", legacy[i].what);
    }
    if (strcmp(buffer, kPrefix) != 0 || !GuardIntact(buffer, size)) {
        Fail("arguments", "a rejected Corvunadecode call changed the buffer");
    }

    size_t needed = 12345;
    struct {
        const char *what;
        int result;
    } bounded[] = {
        {"direction 2", library->bounded(2, kMessage, 2, buffer, size, &needed)},
        {"null message", library->bounded(CORVUNA_DOWNLINK, NULL, 2, buffer, size, &needed)},
        {"negative length", library->bounded(CORVUNA_DOWNLINK, kMessage, -1, buffer, size, &needed)},
        {"null output", library->bounded(CORVUNA_DOWNLINK, kMessage, 2, NULL, size, &needed)},
        {"zero capacity", library->bounded(CORVUNA_DOWNLINK, kMessage, 2, buffer, 0, &needed)},
        {"no NUL within the capacity", library->bounded(CORVUNA_DOWNLINK, kMessage, 2, buffer, 4, &needed)},
    };
    for (size_t i = 0; i < sizeof bounded / sizeof bounded[0]; ++i) {
        if (bounded[i].result != CORVUNA_ERR_ARGUMENT) {
            Fail("arguments", "CorvunaDecodeBounded with %s returned %d", bounded[i].what, bounded[i].result);
        }
    }
    if (strcmp(buffer, kPrefix) != 0 || !GuardIntact(buffer, size) || needed != 12345) {
        Fail("arguments", "a rejected CorvunaDecodeBounded call changed the buffer or *needed");
    }

    /* A null `needed` is allowed. */
    char small[8] = "";
    if (library->bounded(CORVUNA_DOWNLINK, kMessage, 2, small, sizeof small, NULL) != CORVUNA_ERR_NO_ROOM ||
        small[0] != '\0') {
        Fail("arguments", "CorvunaDecodeBounded with no room and a null needed");
    }
    /* A message of no octets still yields the frame. */
    int result = 0;
    char *empty = LegacyDocument(library, CORVUNA_DOWNLINK, kMessage, 0, &result, "arguments");
    if (empty == NULL || strncmp(empty, "<L3Message>\n<dir>DOWNLINK</dir>\n<message>\n", 41) != 0) {
        Fail("arguments", "a message of length 0 gives no document frame");
    }
    free(empty);

    /* The standard view refuses bad arguments without writing; the version
     * is the one the header was built with. */
    needed = 12345;
    strcpy(buffer, kPrefix);
    const int views[] = {
        library->view(2, kMessage, 2, CORVUNA_VIEW_JSON, 0, buffer, size, &needed),
        library->view(CORVUNA_DOWNLINK, NULL, 2, CORVUNA_VIEW_JSON, 0, buffer, size, &needed),
        library->view(CORVUNA_DOWNLINK, kMessage, -1, CORVUNA_VIEW_TEXT, 0, buffer, size, &needed),
        library->view(CORVUNA_DOWNLINK, kMessage, 2, 2, 0, buffer, size, &needed),
        library->view(CORVUNA_DOWNLINK, kMessage, 2, CORVUNA_VIEW_JSON, 4, buffer, size, &needed),
        library->view(CORVUNA_DOWNLINK, kMessage, 2, CORVUNA_VIEW_JSON, 0, NULL, size, &needed),
        library->view(CORVUNA_DOWNLINK, kMessage, 2, CORVUNA_VIEW_JSON, 0, buffer, 0, &needed),
    };
    for (size_t i = 0; i < sizeof views / sizeof views[0]; ++i) {
        if (views[i] != CORVUNA_ERR_ARGUMENT) Fail("arguments", "CorvunaDecodeView case %lu returned %d",
                                                  (unsigned long)i, views[i]);
    }
    if (strcmp(buffer, kPrefix) != 0 || needed != 12345) {
        Fail("arguments", "a rejected CorvunaDecodeView call changed the buffer or *needed");
    }
    char version[32];
    snprintf(version, sizeof version, "%d.%d.%d", CORVUNA_VERSION_MAJOR, CORVUNA_VERSION_MINOR, CORVUNA_VERSION_PATCH);
    if (library->version() == NULL || strcmp(library->version(), version) != 0) {
        Fail("arguments", "CorvunaVersion gives %s, the header %s", library->version(), version);
    }
    free(buffer);
}

int main(int argc, char **argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: corvuna_dll_host LIBRARY DOCUMENTS RESULTS MESSAGES...\n");
        return 2;
    }
    struct Library library;
    if (!OpenLibrary(argv[1], &library)) return 2;
    FILE *documents = fopen(argv[2], "wb");
    FILE *results = fopen(argv[3], "wb");
    if (documents == NULL || results == NULL) {
        fprintf(stderr, "corvuna_dll_host: cannot write %s or %s\n", argv[2], argv[3]);
        return 2;
    }
    CheckArguments(&library);

    int count = 0;
    for (int f = 4; f < argc; ++f) {
        FILE *in = fopen(argv[f], "rb");
        if (in == NULL) {
            fprintf(stderr, "corvuna_dll_host: cannot open %s\n", argv[f]);
            return 2;
        }
        /* Base name of the file, for the results lines. */
        const char *name = argv[f];
        for (const char *p = argv[f]; *p != '\0'; ++p) {
            if (*p == '/' || *p == '\\') name = p + 1;
        }
        static char line[1 << 16];
        int number = 0;
        while (fgets(line, sizeof line, in) != NULL) {
            ++number;
            if (strchr(line, '\n') == NULL && !feof(in)) {
                fprintf(stderr, "corvuna_dll_host: %s:%d: line too long\n", argv[f], number);
                return 2;
            }
            struct Message message;
            const int parsed = ParseLine(line, number, &message);
            if (parsed == 0) continue;
            if (parsed < 0) {
                fprintf(stderr, "corvuna_dll_host: %s:%d: expected DIRECTION<TAB>HEX\n", argv[f], number);
                return 2;
            }
            snprintf(message.where, sizeof message.where, "%s:%d", name, number);
            CheckMessage(&library, &message, documents, results);
            free(message.octets);
            ++count;
        }
        fclose(in);
    }
    fclose(documents);
    fclose(results);
    CloseLibrary(&library);
    if (count == 0) {
        fprintf(stderr, "corvuna_dll_host: no messages\n");
        return 2;
    }
    printf("corvuna_dll_host: %d messages, %d failed checks\n", count, failures);
    return failures == 0 ? 0 : 1;
}
