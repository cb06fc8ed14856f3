/* SPDX-License-Identifier: Apache-2.0 */
/*
 * Corvuna: LTE NAS layer-3 message decoder (TS 24.301 EMM and ESM).
 *
 * One call turns one plain NAS message into an XML-like text document that
 * names the message and every information element in it, with the wording of
 * the standard for each coded value.  The library keeps no state between
 * calls; calls into distinct output buffers may run concurrently.
 *
 * Usable from C and C++.  On 32-bit Windows the functions use the C calling
 * convention (__cdecl) and are exported from Corvuna.dll with undecorated
 * names.
 */
#ifndef CORVUNA_CORVUNA_H
#define CORVUNA_CORVUNA_H

#include <stddef.h>

#if defined(_WIN32)
#define CORVUNA_CALL __cdecl
#if defined(CORVUNA_BUILDING_LIBRARY)
#define CORVUNA_API __declspec(dllexport)
#elif defined(CORVUNA_STATIC)
#define CORVUNA_API
#else
#define CORVUNA_API __declspec(dllimport)
#endif
#else
#define CORVUNA_CALL
#if defined(CORVUNA_BUILDING_LIBRARY)
#define CORVUNA_API __attribute__((visibility("default")))
#else
#define CORVUNA_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version. */
#define CORVUNA_VERSION_MAJOR 1
#define CORVUNA_VERSION_MINOR 0
#define CORVUNA_VERSION_PATCH 0

/* Direction argument of the decode entries. */
#define CORVUNA_DOWNLINK 0 /* network to UE */
#define CORVUNA_UPLINK 1   /* UE to network */

/*
 * Upper bound, in characters and without the terminating NUL, of the
 * document that one call appends for any input.  A buffer holding the
 * caller's current string plus CORVUNA_MAX_DOCUMENT_LENGTH + 1 characters
 * is always large enough.
 *
 * The document does not grow with the message: every list shown keeps a
 * fixed number of entries, a repeated IE replaces the earlier one and
 * unknown octets leave no trace.  The longest document any message gives,
 * under 10000 characters, is that of a TRACKING AREA UPDATE REQUEST with
 * every optional IE present at its longest wording; 16384 leaves more than
 * 60% headroom above it for codecs that grow.
 */
#define CORVUNA_MAX_DOCUMENT_LENGTH 16384

/* Bodies longer than this many octets are decoded from their first
 * CORVUNA_MAX_BODY_LENGTH octets only. */
#define CORVUNA_MAX_BODY_LENGTH 10240

/* MessageCode of ACTIVATE DEFAULT EPS BEARER CONTEXT REQUEST, for LteGain. */
#define CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST 705

/*
 * Corvunadecode: the legacy entry.
 *
 *   direction  CORVUNA_UPLINK (1) or CORVUNA_DOWNLINK (0)
 *   message    the NAS message from its first octet (protocol discriminator)
 *   length     number of octets at message, >= 0
 *   output     a NUL-terminated string (normally empty); the document is
 *              appended to it.  The buffer must have room for the existing
 *              string plus CORVUNA_MAX_DOCUMENT_LENGTH + 1 characters; the
 *              decoder never writes beyond that.
 *   reserved1  must be >= 0; not used
 *   reserved2  not used
 *
 * Returns 1 when the document was written (also for unknown messages, which
 * yield the document frame alone), 0 when an argument is rejected (nothing
 * is written) or decoding failed internally.
 */
CORVUNA_API int CORVUNA_CALL Corvunadecode(int direction, const unsigned char *message, int length,
                                           char *output, int reserved1, int reserved2);

/*
 * LteGain: guaranteed bit rates of an ACTIVATE DEFAULT EPS BEARER CONTEXT
 * REQUEST.
 *
 *   message      the whole ESM message from octet 1
 *   length       number of octets, > 0
 *   messageCode  must be CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST (705)
 *   rates        array of two ints
 *
 * Returns 0 when an argument is rejected (rates untouched), else 1.  When the
 * message is such a request (first octet 0x02, message type 0xC1) the rates
 * receive the guaranteed downlink and uplink bit rate octets of the EPS QoS,
 * each times 1000000, or -1 and -1 when the QoS carries no bit rates.  Other
 * messages leave the rates untouched: preset them when that must be told.
 */
CORVUNA_API int CORVUNA_CALL LteGain(const unsigned char *message, int length, unsigned int messageCode,
                                     int *rates);

/* Results of CorvunaDecodeBounded. */
#define CORVUNA_OK 0           /* the document was appended */
#define CORVUNA_ERR_ARGUMENT -1 /* an argument was rejected; nothing written */
#define CORVUNA_ERR_NO_ROOM -2  /* the document did not fit; buffer unchanged */
#define CORVUNA_ERR_INTERNAL -3 /* decoding failed internally; buffer unchanged */

/*
 * CorvunaDecodeBounded: the same decoding as Corvunadecode into a buffer of
 * known size.
 *
 *   output    a buffer of `capacity` characters holding a NUL-terminated
 *             string (normally empty) within its capacity; the document is
 *             appended to that string
 *   capacity  size of the buffer in characters, terminating NUL included
 *   needed    optional (may be NULL): receives the buffer size, terminating
 *             NUL included, that holds the existing string plus the whole
 *             document; set on CORVUNA_OK and CORVUNA_ERR_NO_ROOM
 *
 * Never writes outside output[0 .. capacity-1] and always leaves a
 * NUL-terminated string there.  On CORVUNA_ERR_NO_ROOM the buffer holds the
 * caller's original string again; call again with *needed characters.
 * Rejects (CORVUNA_ERR_ARGUMENT): a direction other than 0 or 1, a null
 * message or output, a negative length, a zero capacity, or a buffer with no
 * NUL within its capacity.
 */
CORVUNA_API int CORVUNA_CALL CorvunaDecodeBounded(int direction, const unsigned char *message, int length,
                                                  char *output, size_t capacity, size_t *needed);

/*
 * CorvunaVersion: the library's version as text, "MAJOR.MINOR.PATCH" (the
 * values of CORVUNA_VERSION_MAJOR, _MINOR and _PATCH it was built with).
 */
CORVUNA_API const char *CORVUNA_CALL CorvunaVersion(void);

/* ------------------------------------------------------------------------
 * The standard view: the message decoded as TS 24.301 and TS 24.008 define
 * it, as JSON (RFC 8259, one object) or as an indented text tree.
 */

/* Output formats of CorvunaDecodeView. */
#define CORVUNA_VIEW_JSON 0
#define CORVUNA_VIEW_TEXT 1

/* Options of CorvunaDecodeView (or-ed together). */
#define CORVUNA_VIEW_NULL_CIPHERING 1u /* ciphered messages use EEA0: decode their inner message */

/* Results of CorvunaDecodeView (the errors are the CORVUNA_ERR_ values). */
#define CORVUNA_VIEW_DECODED 0             /* every IE decoded */
#define CORVUNA_VIEW_DECODED_WITH_ERRORS 1 /* decoding met an error; the output says where and why */
#define CORVUNA_VIEW_UNKNOWN_MESSAGE 2     /* NAS, of a message type or header the view does not know */
#define CORVUNA_VIEW_NOT_NAS 3             /* no NAS message */
#define CORVUNA_VIEW_CIPHERED 4            /* a security-protected message whose body stays ciphered */

/*
 * Upper bound, in characters and without the terminating NUL, of the output
 * of CorvunaDecodeView for any input: a buffer of CORVUNA_MAX_VIEW_LENGTH + 1
 * characters always suffices.  Inputs longer than CORVUNA_MAX_VIEW_INPUT
 * octets are decoded from their first CORVUNA_MAX_VIEW_INPUT octets and say
 * so.  Real messages take a few kilobytes; the bound is reached only by
 * inputs made of thousands of tiny list entries, and should one ever pass it
 * the output ends where it stands, with the result "decoded with errors" and
 * a "stopped" member that says why.
 */
#define CORVUNA_MAX_VIEW_LENGTH 1048576
#define CORVUNA_MAX_VIEW_INPUT 10240

/*
 * CorvunaDecodeView: decodes one NAS message into the standard view.
 *
 *   direction  CORVUNA_UPLINK (1) or CORVUNA_DOWNLINK (0)
 *   message    the NAS message from its first octet (security header or
 *              protocol discriminator); may be NULL when length is 0
 *   length     number of octets at message, >= 0
 *   format     CORVUNA_VIEW_JSON or CORVUNA_VIEW_TEXT
 *   options    0 or CORVUNA_VIEW_NULL_CIPHERING
 *   output     a buffer of `capacity` characters; the output is written from
 *              its start (not appended) and NUL-terminated
 *   needed     optional: receives the buffer size, NUL included, the output
 *              takes; set on success and on CORVUNA_ERR_NO_ROOM
 *
 * Returns a CORVUNA_VIEW_ result (0 to 4), or CORVUNA_ERR_ARGUMENT (nothing
 * written), CORVUNA_ERR_NO_ROOM (output[0] is NUL; call again with *needed
 * characters) or CORVUNA_ERR_INTERNAL.  Never writes outside
 * output[0 .. capacity-1].  Thread-safe for distinct buffers.
 */
CORVUNA_API int CORVUNA_CALL CorvunaDecodeView(int direction, const unsigned char *message, int length, int format,
                                               unsigned int options, char *output, size_t capacity, size_t *needed);

#ifdef __cplusplus
}
#endif

#endif /* CORVUNA_CORVUNA_H */
